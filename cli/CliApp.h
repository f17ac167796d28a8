// CliApp: padocut-cli's commands on one CLI11 application. Each command
// file adds its command (summary, operands and options in one place; see
// Commands.h) with the function that runs it. Run parses the command line
// (options before or after the operands, `--` ends the options), answers
// --help, `help COMMAND` and --version from those same definitions, turns
// every usage problem into `padocut-cli COMMAND: problem` plus the usage
// line and exit 2, runs the command that was given and checks that its
// output reached stdout.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CliApp {
 public:
  CliApp();
  CliApp(const CliApp&) = delete;
  CliApp& operator=(const CliApp&) = delete;

  // The exit status for the command line.
  int Run(int argc, char** argv);

  // A new command; `run` is called with the operands and options already
  // stored where the command's definitions put them, and returns the exit
  // status. Every command takes -q and -v.
  CLI::App& AddCommand(const std::string& name, const std::string& summary, std::function<int()> run);

 private:
  const CLI::App* GivenCommand() const;
  int ParseProblem(const CLI::ParseError& error);
  int Help(const std::string& commandName);

  CLI::App m_app;
  std::vector<std::pair<CLI::App*, std::function<int()>>> m_commands;
  std::string m_helpTopic;
};

// For a command's run function: `why` on stderr as a usage problem; 2.
int UsageError(const CLI::App& command, const std::string& why);
