#include "tests/host/ModuleFixture.h"

std::unique_ptr<host::VstModule> MorvexModuleTest::sModule;
std::string MorvexModuleTest::sError;

std::string MorvexModuleTest::modulePath()
{
  return MORVEX_MODULE_PATH;
}

void MorvexModuleTest::SetUpTestSuite()
{
  if (!sModule)
    sModule = host::VstModule::Load(modulePath(), sError);
}

void MorvexModuleTest::TearDownTestSuite()
{
  sModule.reset();
}

void MorvexModuleTest::SetUp()
{
  ASSERT_NE(sModule, nullptr) << sError;
  std::string error;
  mPlugin = host::PluginInstance::Create(*sModule, mHost, error);
  ASSERT_NE(mPlugin, nullptr) << error;
}

void MorvexModuleTest::TearDown()
{
  mPlugin.reset();
}
