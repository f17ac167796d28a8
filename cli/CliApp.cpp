#include "cli/CliApp.h"

#include <cstdio>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/Texts.h"
#include "platform/Version.h"

namespace {

constexpr char kProgram[] = "padocut-cli";
constexpr size_t kHelpColumn = 26;

constexpr char kProgramSummary[] =
    "padocut-cli: cut MP3 files without re-encoding, and look into them.\n"
    "Every command's options may come before or after its operands; -- ends them.";
constexpr char kTimesHelp[] =
    "Times: a bare integer is milliseconds (1500 is 1500 ms, 90 is 90 ms); seconds and\n"
    "longer take a unit or a clock form: 90s, 1500ms, 1m30s, 1h2m3.5s, 1:30, 01:02:03.500,\n"
    "1.5 (seconds), and end for the end of the audio. At most three decimals; the\n"
    "fields after the first in 1:02:03 and in 1m30s stay below 60. The limit is\n"
    "596:31:23.647 either way.\n"
    "Exit status: 0 done, 1 the work failed (padocut-cli: FILE: reason), 2 a usage error.\n"
    "padocut-cli help COMMAND (or COMMAND --help) shows a command's options.";
constexpr char kQuietHelp[] = "no summary lines and no notes";
constexpr char kVerboseHelp[] = "notes on what was decided (frame rounding, fallbacks)";
constexpr char kVersionHelp[] = "print the version and exit";
constexpr char kHelpSummary[] = "help on a command (or on all of them)";
constexpr char kHelpTopicHelp[] = "the command";
constexpr char kVersionSummary[] = "print the program's version";

std::string VersionLine() { return std::string(kProgram) + " " + kPadocutVersion; }

// The path to `command` as the user types it: "padocut-cli cut".
std::string CommandPath(const CLI::App& command) {
  return command.get_parent() ? std::string(kProgram) + " " + command.get_name() : kProgram;
}

std::string UsageLine(const CLI::App& command) {
  const auto formatter = std::dynamic_pointer_cast<CLI::Formatter>(command.get_formatter());
  return formatter ? formatter->make_usage(&command, CommandPath(command)) : CommandPath(command) + "\n";
}

// A token CLI11 left over that was meant as an option: "-x", "--name";
// never "-1.5" or "-1:30" (a negative time).
bool LooksLikeOption(const std::string& arg) {
  return arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
}

void AddVerbosityFlags(CLI::App& app) {
  app.add_flag("-q,--quiet", Verbosity().quiet, kQuietHelp);
  app.add_flag("-v,--verbose", Verbosity().verbose, kVerboseHelp);
}

}  // namespace

CliApp::CliApp() : m_app(kProgramSummary, kProgram) {
  auto formatter = std::make_shared<CLI::Formatter>();
  formatter->column_width(kHelpColumn);
  formatter->label("Usage", "usage");
  formatter->label("REQUIRED", "");
  formatter->label("TEXT", "");
  m_app.formatter(formatter);
  m_app.require_subcommand(1);
  m_app.set_version_flag("-V,--version", VersionLine(), kVersionHelp);
  m_app.footer(kTimesHelp);
  AddVerbosityFlags(m_app);
  AddAllCommands(*this);
  CLI::App& help = AddCommand("help", kHelpSummary, [this] { return Help(m_helpTopic); });
  help.add_option("COMMAND", m_helpTopic, kHelpTopicHelp);
  AddCommand("version", kVersionSummary, [] {
    PrintLine(VersionLine());
    return static_cast<int>(kCliOk);
  });
}

CLI::App& CliApp::AddCommand(const std::string& name, const std::string& summary, std::function<int()> run) {
  CLI::App* command = m_app.add_subcommand(name, summary);
  AddVerbosityFlags(*command);
  m_commands.emplace_back(command, std::move(run));
  return *command;
}

int CliApp::Run(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(m_app.help().c_str(), stderr);
    return kCliUsage;
  }
  try {
    m_app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    const CLI::App* command = GivenCommand();
    return FinishOutput(Help(command ? command->get_name() : ""));
  } catch (const CLI::CallForAllHelp&) {
    return FinishOutput(Help(""));
  } catch (const CLI::CallForVersion&) {
    PrintLine(VersionLine());
    return FinishOutput(kCliOk);
  } catch (const CLI::ParseError& error) {
    return ParseProblem(error);
  }
  for (auto& [command, run] : m_commands) {
    if (command->parsed()) return FinishOutput(run());
  }
  return kCliUsage;  // not reached: a command is required
}

const CLI::App* CliApp::GivenCommand() const {
  for (const auto& [command, run] : m_commands) {
    if (command->parsed()) return command;
  }
  return nullptr;
}

int CliApp::ParseProblem(const CLI::ParseError& error) {
  const CLI::App* command = GivenCommand();
  // CLI11 names the first problem it meets; an unknown option is the more
  // useful one to hear about (a missing operand is often its result).
  for (const CLI::App* app : {command, static_cast<const CLI::App*>(&m_app)}) {
    if (!app) continue;
    for (const std::string& arg : app->remaining()) {
      if (arg == "--") break;
      if (LooksLikeOption(arg)) return UsageError(command ? *command : m_app, clitext::UnknownOption(arg));
    }
  }
  if (!command && !m_app.remaining().empty()) {
    std::fprintf(stderr, "%s\n%s", clitext::UnknownCommand(m_app.remaining().front()).c_str(), m_app.help().c_str());
    return kCliUsage;
  }
  return UsageError(command ? *command : m_app, error.what());
}

int CliApp::Help(const std::string& commandName) {
  if (commandName.empty()) {
    const std::string text = m_app.help();
    WriteOutput(text.data(), text.size());
    return kCliOk;
  }
  for (const auto& [command, run] : m_commands) {
    if (command->get_name() == commandName) {
      const std::string text = command->help(kProgram);
      WriteOutput(text.data(), text.size());
      return kCliOk;
    }
  }
  std::fprintf(stderr, "%s\n", clitext::UnknownCommand(commandName).c_str());
  return kCliUsage;
}

int UsageError(const CLI::App& command, const std::string& why) {
  const std::string path = CommandPath(command);
  std::fprintf(stderr, "%s: %s\n%s%s\n", path.c_str(), why.c_str(), UsageLine(command).c_str(),
               clitext::MoreHelp(command.get_parent() ? command.get_name() : "").c_str());
  return kCliUsage;
}
