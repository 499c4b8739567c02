#include "tools/host/Cli.h"

#include "tools/host/ModuleInfo.h"
#include "tools/host/EditorShot.h"
#include "tools/host/PluginInstance.h"
#include "tools/host/Render.h"
#include "tools/host/Response.h"
#include "tools/host/ResponsePlot.h"
#include "tools/host/Wav.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace host {

namespace {

const char* const kUsage =
    "usage:\n"
    "  morvex-host [--module PATH] info\n"
    "  morvex-host [--module PATH] render IN.wav OUT.wav [--set \"Name=value\"]... [--block N]\n"
    "              [--sweep \"Name=from:to\"]... [--precision 32|64] [--load-state FILE]\n"
    "              [--save-state FILE] [--bypass]\n"
    "  morvex-host [--module PATH] response [--set \"Name=value\"]... [--rate HZ] --csv FILE\n"
    "              [--png FILE]\n"
    "  morvex-host [--module PATH] moduleinfo [--version X.Y.Z] [--output FILE]\n"
    "  morvex-host [--module PATH] editor --png FILE [--set \"Name=value\"]... [--load-state FILE]\n"
    "              [--scale F] [--rescale F] [--drag X,Y,DY]\n";

// Long enough for several of an editor's redraw ticks (40 ms each).
constexpr int kEditorSettleMs = 400;

// A failure with its exit status and message.
struct Failure
{
  int status;
  std::string message;
};

struct Options
{
  std::string command;
  std::vector<std::string> positional;
  std::string module;
  std::vector<std::string> sets;
  std::vector<std::string> sweeps;
  long block = 512;
  long precision = 32;
  double rate = 48000.0;
  double scale = 0.0, rescale = 0.0;
  bool drag = false;
  long dragX = 0, dragY = 0, dragDy = 0;
  std::string loadState, saveState, csv, png, version, output;
  bool bypass = false;
};

std::string trim(const std::string& s)
{
  const size_t b = s.find_first_not_of(" \t");
  const size_t e = s.find_last_not_of(" \t");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

bool parseOptions(const std::vector<std::string>& args, Options& o, Failure& failure)
{
  auto bad = [&](const std::string& message) {
    failure = {kExitBadInput, message};
    return false;
  };
  for (size_t i = 0; i < args.size(); ++i)
  {
    const std::string& a = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size())
        return bad(a + " needs a value");
      into = args[++i];
      return true;
    };
    std::string v;
    if (a == "--module") { if (!value(o.module)) return false; }
    else if (a == "--set") { if (!value(v)) return false; o.sets.push_back(v); }
    else if (a == "--sweep") { if (!value(v)) return false; o.sweeps.push_back(v); }
    else if (a == "--block")
    {
      if (!value(v)) return false;
      if (!ParseInteger(v, o.block) || o.block < 1 || o.block > 65536)
        return bad("--block needs a whole number from 1 to 65536, not \"" + v + "\"");
    }
    else if (a == "--precision")
    {
      if (!value(v)) return false;
      if (!ParseInteger(v, o.precision) || (o.precision != 32 && o.precision != 64))
        return bad("--precision is 32 or 64, not \"" + v + "\"");
    }
    else if (a == "--rate")
    {
      if (!value(v)) return false;
      if (!ParseNumber(v, o.rate) || o.rate < 1000.0 || o.rate > 768000.0)
        return bad("--rate needs a sample rate from 1000 to 768000 Hz, not \"" + v + "\"");
    }
    else if (a == "--scale" || a == "--rescale")
    {
      if (!value(v)) return false;
      double& factor = a == "--scale" ? o.scale : o.rescale;
      if (!ParseNumber(v, factor) || factor < 0.5 || factor > 4.0)
        return bad(a + " needs a content factor from 0.5 to 4, not \"" + v + "\"");
    }
    else if (a == "--drag")
    {
      if (!value(v)) return false;
      const size_t first = v.find(','), second = v.find(',', first == std::string::npos ? first : first + 1);
      if (first == std::string::npos || second == std::string::npos ||
          !ParseInteger(v.substr(0, first), o.dragX) ||
          !ParseInteger(v.substr(first + 1, second - first - 1), o.dragY) ||
          !ParseInteger(v.substr(second + 1), o.dragDy) || o.dragX < 0 || o.dragY < 0 ||
          o.dragX > 10000 || o.dragY > 10000 || o.dragDy < -10000 || o.dragDy > 10000)
        return bad("--drag needs X,Y,DY in the editor's pixels, not \"" + v + "\"");
      o.drag = true;
    }
    else if (a == "--load-state") { if (!value(o.loadState)) return false; }
    else if (a == "--save-state") { if (!value(o.saveState)) return false; }
    else if (a == "--csv") { if (!value(o.csv)) return false; }
    else if (a == "--png") { if (!value(o.png)) return false; }
    else if (a == "--version") { if (!value(o.version)) return false; }
    else if (a == "--output") { if (!value(o.output)) return false; }
    else if (a == "--bypass") o.bypass = true;
    else if (a.size() > 1 && a[0] == '-') return bad("unknown option " + a);
    else if (o.command.empty()) o.command = a;
    else o.positional.push_back(a);
  }
  if (o.command.empty())
    return bad("no command given");
  return true;
}

// The settings the host delivers: each "Title=value" converted with the
// plug-in's own plain-to-normalized conversion.
bool resolveSettings(PluginInstance& plugin, const Options& o, std::vector<ParamSetting>& settings,
                     Failure& failure)
{
  for (const std::string& s : o.sets)
  {
    const size_t eq = s.rfind('=');
    if (eq == std::string::npos)
    {
      failure = {kExitBadInput, "--set needs \"Name=value\", not \"" + s + "\""};
      return false;
    }
    const std::string name = trim(s.substr(0, eq));
    const std::string text = s.substr(eq + 1);
    ParamID id = 0;
    if (!plugin.findParameter(name, id))
    {
      failure = {kExitBadInput, "\"" + plugin.description().name + "\" has no parameter named \"" +
                                    name + "\""};
      return false;
    }
    double plain = 0.0;
    if (!ParseNumber(text, plain))
    {
      failure = {kExitBadInput, "malformed value \"" + text + "\" for \"" + name + "\""};
      return false;
    }
    const double normalized = plugin.controller()->plainParamToNormalized(id, plain);
    if (!std::isfinite(normalized))
    {
      failure = {kExitFailure, "the plug-in cannot convert " + text + " for \"" + name + "\""};
      return false;
    }
    settings.push_back({id, std::clamp(normalized, 0.0, 1.0)});
  }
  if (o.bypass)
  {
    ParamID id = 0;
    if (!plugin.findBypass(id))
    {
      failure = {kExitBadInput, "\"" + plugin.description().name + "\" has no bypass parameter"};
      return false;
    }
    settings.push_back({id, 1.0});
  }
  return true;
}

std::string hexId(const TUID cid)
{
  std::string s;
  char byte[3];
  for (int i = 0; i < 16; ++i)
  {
    std::snprintf(byte, sizeof byte, "%02X", static_cast<unsigned char>(cid[i]));
    s += byte;
  }
  return s;
}

std::string idText(ParamID id)
{
  std::string s = std::to_string(id);
  std::string code;
  for (int shift = 24; shift >= 0; shift -= 8)
  {
    const char c = static_cast<char>((id >> shift) & 0xFF);
    if (c < 0x20 || c > 0x7E)
      return s;
    code += c;
  }
  return s + " '" + code + "'";
}

std::string flagText(int32 flags)
{
  static const struct { int32 bit; const char* name; } kFlags[] = {
      {ParameterInfo::kCanAutomate, "automate"}, {ParameterInfo::kIsReadOnly, "read-only"},
      {ParameterInfo::kIsWrapAround, "wrap"},    {ParameterInfo::kIsList, "list"},
      {ParameterInfo::kIsHidden, "hidden"},
      {ParameterInfo::kIsProgramChange, "program-change"}, {ParameterInfo::kIsBypass, "bypass"},
  };
  std::string s;
  for (const auto& f : kFlags)
    if (flags & f.bit)
      s += (s.empty() ? "" : "|") + std::string(f.name);
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(flags));
  return s.empty() ? hex : std::string(hex) + " " + s;
}

int runInfo(VstModule& module, PluginInstance& plugin, std::ostream& out)
{
  VendorDescription vendor;
  DescribeVendor(module.factory(), vendor);
  out << "module: " << module.binaryPath() << "\n";
  out << "vendor: " << vendor.vendor << "\n";
  out << "url: " << vendor.url << "\n";
  out << "email: " << vendor.email << "\n";
  const ClassDescription& c = plugin.description();
  out << "class: " << c.name << "\n";
  out << "category: " << c.category << "\n";
  out << "sub-categories: " << c.subCategories << "\n";
  out << "version: " << c.version << "\n";
  out << "sdk version: " << c.sdkVersion << "\n";
  out << "class id: " << hexId(c.cid) << "\n";
  out << "audio: " << plugin.mainChannels(kInput) << " in, " << plugin.mainChannels(kOutput)
      << " out\n";
  const auto params = plugin.parameters();
  out << "parameters: " << params.size() << "\n";
  out << "id\ttitle\tunits\tdefault\tsteps\tflags\tdefault text\n";
  char number[32];
  for (const ParameterInfo& p : params)
  {
    std::snprintf(number, sizeof number, "%.6f", p.defaultNormalizedValue);
    out << idText(p.id) << "\t" << ToUtf8(p.title) << "\t" << ToUtf8(p.units) << "\t" << number
        << "\t" << p.stepCount << "\t" << flagText(p.flags) << "\t"
        << plugin.valueText(p.id, p.defaultNormalizedValue) << "\n";
  }
  return kExitOk;
}

// The automation lanes: each "Title=from:to" in plain values, converted like
// the settings.
bool resolveSweeps(PluginInstance& plugin, const Options& o, std::vector<ParamSweep>& sweeps,
                   Failure& failure)
{
  for (const std::string& s : o.sweeps)
  {
    const size_t eq = s.rfind('=');
    const size_t colon = s.rfind(':');
    ParamID id = 0;
    double from = 0.0, to = 0.0;
    if (eq == std::string::npos || colon == std::string::npos || colon < eq ||
        !ParseNumber(s.substr(eq + 1, colon - eq - 1), from) ||
        !ParseNumber(s.substr(colon + 1), to))
    {
      failure = {kExitBadInput, "--sweep needs \"Name=from:to\", not \"" + s + "\""};
      return false;
    }
    const std::string name = trim(s.substr(0, eq));
    if (!plugin.findParameter(name, id))
    {
      failure = {kExitBadInput, "\"" + plugin.description().name + "\" has no parameter named \"" +
                                    name + "\""};
      return false;
    }
    auto normalized = [&](double plain) {
      return std::clamp(plugin.controller()->plainParamToNormalized(id, plain), 0.0, 1.0);
    };
    sweeps.push_back({id, normalized(from), normalized(to)});
  }
  return true;
}

// Restores a state file into the plug-in, as a host loads a preset.
bool loadStateFile(PluginInstance& plugin, const std::string& path, Failure& failure)
{
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadFileBytes(path, bytes, error))
  {
    failure = {kExitBadInput, error};
    return false;
  }
  if (!plugin.setState(std::vector<char>(bytes.begin(), bytes.end())))
  {
    failure = {kExitBadInput, "the plug-in rejected the state in " + path};
    return false;
  }
  return true;
}

bool saveStateFile(PluginInstance& plugin, const std::string& path, Failure& failure)
{
  std::vector<char> state;
  if (!plugin.getState(state))
  {
    failure = {kExitFailure, "the plug-in gave no state"};
    return false;
  }
  std::string error;
  if (!WriteFileBytes(path, state.data(), state.size(), error))
  {
    failure = {kExitBadInput, error};
    return false;
  }
  return true;
}

// Prepares the plug-in for the file, restores the state (after the set-up,
// which may reset what a state carries, such as the bypass), renders and
// stops. Returns the seconds spent rendering, or a negative number.
double renderFile(PluginInstance& plugin, const Options& o, const AudioData& in, AudioData& result,
                  const RenderOptions& options, Failure& failure)
{
  std::string error;
  if (!plugin.prepare(RenderSetup(in, options), error))
  {
    failure = {kExitFailure, error};
    return -1.0;
  }
  if (!o.loadState.empty() && !loadStateFile(plugin, o.loadState, failure))
    return -1.0;
  result.channels.assign(in.channels.size(), std::vector<double>(in.frames()));
  const auto start = std::chrono::steady_clock::now();
  const bool done = RenderPrepared(plugin, in, result, options, error);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  plugin.unprepare();
  if (!done)
  {
    failure = {kExitFailure, error};
    return -1.0;
  }
  return seconds;
}

int runRender(PluginInstance& plugin, const Options& o, std::ostream& out, Failure& failure)
{
  if (o.positional.size() != 2)
  {
    failure = {kExitBadInput, "render needs an input and an output WAV file"};
    return failure.status;
  }
  std::string error;
  AudioData in;
  if (!ReadWavFile(o.positional[0], in, error))
  {
    failure = {kExitBadInput, error};
    return failure.status;
  }
  RenderOptions options;
  options.blockSize = static_cast<int>(o.block);
  options.precision = static_cast<int>(o.precision);
  if (!resolveSettings(plugin, o, options.settings, failure) ||
      !resolveSweeps(plugin, o, options.sweeps, failure))
    return failure.status;

  AudioData result;
  const double seconds = renderFile(plugin, o, in, result, options, failure);
  if (seconds < 0.0)
    return failure.status;
  if (!WriteWavFile(o.positional[1], result, options.precision, error))
  {
    failure = {kExitBadInput, error};
    return failure.status;
  }
  if (!o.saveState.empty() && !saveStateFile(plugin, o.saveState, failure))
    return failure.status;
  const double audioSeconds = static_cast<double>(in.frames()) / in.sampleRate;
  char line[160];
  std::snprintf(line, sizeof line, "rendered %zu frames (%.2f s of audio) in %.3f s: %.0fx real time\n",
                in.frames(), audioSeconds, seconds, seconds > 0.0 ? audioSeconds / seconds : 0.0);
  out << line;
  // What the plug-in changed by itself, as a host's panel now shows it.
  for (const auto& reported : plugin.reportedValues())
    out << "the plug-in set \"" << plugin.parameterTitle(reported.first) << "\" to "
        << plugin.valueText(reported.first, reported.second) << "\n";
  return kExitOk;
}

int runResponse(PluginInstance& plugin, const Options& o, std::ostream& out, Failure& failure)
{
  if (!o.positional.empty() || o.csv.empty())
  {
    failure = {kExitBadInput, "response needs --csv FILE and no other file names"};
    return failure.status;
  }
  ResponseOptions options;
  options.sampleRate = o.rate;
  if (!resolveSettings(plugin, o, options.settings, failure))
    return failure.status;
  ResponseCurve curve;
  std::string error;
  if (!MeasureResponse(plugin, options, curve, error))
  {
    failure = {kExitFailure, error};
    return failure.status;
  }
  const std::string csv = ResponseCsv(curve);
  if (!WriteFileBytes(o.csv, csv.data(), csv.size(), error))
  {
    failure = {kExitBadInput, error};
    return failure.status;
  }
  out << "wrote " << o.csv << "\n";
  if (!o.png.empty())
  {
    std::vector<uint8_t> png;
    if (!EncodePng(PlotResponse(curve), png, error))
    {
      failure = {kExitFailure, error};
      return failure.status;
    }
    if (!WriteFileBytes(o.png, png.data(), png.size(), error))
    {
      failure = {kExitBadInput, error};
      return failure.status;
    }
    out << "wrote " << o.png << "\n";
  }
  return kExitOk;
}

// The editor as a host shows it: the settings arrive with a process call (or
// a restored state), then the view opens in a window of the host's, draws for
// a few of its timer ticks, and what the screen shows is saved.
int runEditor(PluginInstance& plugin, const Options& o, std::ostream& out, Failure& failure)
{
  if (!o.positional.empty() || o.png.empty())
  {
    failure = {kExitBadInput, "editor needs --png FILE and no other file names"};
    return failure.status;
  }
  RenderOptions options;
  if (!resolveSettings(plugin, o, options.settings, failure))
    return failure.status;
  AudioData silence;
  silence.sampleRate = 48000.0;
  silence.channels.assign(2, std::vector<double>(static_cast<size_t>(options.blockSize)));
  AudioData ignored;
  if (renderFile(plugin, o, silence, ignored, options, failure) < 0.0)
    return failure.status;

  RgbImage image;
  std::string error;
  std::vector<uint8_t> png;
  EditorShotOptions shot;
  shot.settleMs = kEditorSettleMs;
  shot.scale = o.scale;
  shot.rescale = o.rescale;
  shot.drag = o.drag;
  shot.dragX = static_cast<int>(o.dragX);
  shot.dragY = static_cast<int>(o.dragY);
  shot.dragDy = static_cast<int>(o.dragDy);
  if (!CaptureEditor(plugin.controller(), shot, image, error) ||
      !EncodePng(image, png, error))
  {
    failure = {kExitFailure, error};
    return failure.status;
  }
  if (!WriteFileBytes(o.png, png.data(), png.size(), error))
  {
    failure = {kExitBadInput, error};
    return failure.status;
  }
  out << "wrote " << o.png << " (" << image.width << " x " << image.height << ")\n";
  return kExitOk;
}

// The module's moduleinfo.json, from what its factory reports; the version
// is the first class's unless given.
int runModuleInfo(VstModule& module, const Options& o, std::ostream& out, Failure& failure)
{
  ModuleDescription description;
  description.name = ModuleName(o.module);
  if (!DescribeVendor(module.factory(), description.vendor))
  {
    failure = {kExitFailure, "the module's factory gives no information"};
    return failure.status;
  }
  description.classes = ListClasses(module.factory());
  description.snapshotFiles = ListSnapshotFiles(o.module);
  description.version = o.version;
  if (description.version.empty() && !description.classes.empty())
    description.version = description.classes.front().version;
  const std::string json = ModuleInfoJson(description);
  if (o.output.empty())
  {
    out << json;
    return kExitOk;
  }
  std::string error;
  if (!WriteFileBytes(o.output, json.data(), json.size(), error))
  {
    failure = {kExitBadInput, error};
    return failure.status;
  }
  return kExitOk;
}

int runCommand(const Options& o, std::ostream& out, Failure& failure)
{
  if (o.command != "info" && o.command != "render" && o.command != "response" &&
      o.command != "moduleinfo" && o.command != "editor")
  {
    failure = {kExitBadInput, "unknown command \"" + o.command + "\""};
    return failure.status;
  }
  if ((o.command == "info" || o.command == "moduleinfo") && !o.positional.empty())
  {
    failure = {kExitBadInput, o.command + " takes no file names"};
    return failure.status;
  }
  std::string error;
  HostApplication hostApp;
  std::unique_ptr<VstModule> module = VstModule::Load(o.module, error);
  if (!module)
  {
    failure = {kExitBadInput, error};
    return failure.status;
  }
  if (o.command == "moduleinfo")
    return runModuleInfo(*module, o, out, failure);
  int status;
  {
    std::unique_ptr<PluginInstance> plugin = PluginInstance::Create(*module, hostApp, error);
    if (!plugin)
    {
      failure = {kExitFailure, error};
      return failure.status;
    }
    if (o.command == "info")
      status = runInfo(*module, *plugin, out);
    else if (o.command == "render")
      status = runRender(*plugin, o, out, failure);
    else if (o.command == "editor")
      status = runEditor(*plugin, o, out, failure);
    else
      status = runResponse(*plugin, o, out, failure);
  }  // the instance goes before its module
  return status;
}

}  // namespace

bool ParseNumber(const std::string& text, double& value)
{
  const std::string t = trim(text);
  if (t.empty())
    return false;
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(t.c_str(), &end);
  if (end != t.c_str() + t.size() || errno == ERANGE || !std::isfinite(v))
    return false;
  value = v;
  return true;
}

bool ParseInteger(const std::string& text, long& value)
{
  const std::string t = trim(text);
  if (t.empty())
    return false;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(t.c_str(), &end, 10);
  if (end != t.c_str() + t.size() || errno == ERANGE)
    return false;
  value = v;
  return true;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::string& defaultModule)
{
  Options options;
  options.module = defaultModule;
  Failure failure{kExitOk, ""};
  if (!parseOptions(args, options, failure))
  {
    err << "morvex-host: " << failure.message << "\n" << kUsage;
    return failure.status;
  }
  int status = kExitFailure;
  try
  {
    status = runCommand(options, out, failure);
  }
  catch (const std::exception& e)
  {
    // Out of memory, an output stream that failed, or a plug-in that lets
    // an exception out: a message and a status, never an abort.
    failure = {kExitFailure, std::string("stopped by an error: ") + e.what()};
  }
  catch (...)
  {
    failure = {kExitFailure, "stopped by an unknown error"};
  }
  if (status != kExitOk)
    err << "morvex-host: " << failure.message << "\n";
  return status;
}

}  // namespace host
