// The commands of padocut-cli, one file each (cmd_<name>.cpp). Each Add
// function puts its command on the application: summary, operands,
// options and help in one place, and the function that runs it.
#pragma once

class CliApp;

void AddInfoCommand(CliApp& app);
void AddOffsetCommand(CliApp& app);
void AddDecodeCommand(CliApp& app);
void AddPeaksCommand(CliApp& app);
void AddPlayCommand(CliApp& app);
void AddCutCommand(CliApp& app);
void AddTagsCommand(CliApp& app);
void AddRetagCommand(CliApp& app);
void AddSplitCommand(CliApp& app);

// Every command above, in the order the overview lists them (help and
// version come last, from CliApp itself).
void AddAllCommands(CliApp& app);
