#pragma once

#include "tools/host/PluginInstance.h"
#include "tools/host/VstModule.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// The built Morvex module, loaded once per test executable exactly as the
// host tool loads it, and a fresh plug-in instance for every test.
class MorvexModuleTest : public ::testing::Test
{
public:
  static void SetUpTestSuite();
  static void TearDownTestSuite();

protected:
  void SetUp() override;
  void TearDown() override;

  static std::string modulePath();

  static std::unique_ptr<host::VstModule> sModule;
  static std::string sError;
  host::HostApplication mHost;
  std::unique_ptr<host::PluginInstance> mPlugin;
};
