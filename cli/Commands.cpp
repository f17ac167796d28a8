#include "cli/Commands.h"

void AddAllCommands(CliApp& app) {
  AddInfoCommand(app);
  AddOffsetCommand(app);
  AddDecodeCommand(app);
  AddPeaksCommand(app);
  AddPlayCommand(app);
  AddCutCommand(app);
  AddSplitCommand(app);
  AddTagsCommand(app);
  AddRetagCommand(app);
}
