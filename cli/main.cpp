// padocut-cli: the command-line front end over the core library.
#include <csignal>

#include "cli/CliApp.h"

int main(int argc, char** argv) {
  // A full disk or a file-size limit must come back as a write error, not
  // end the process; so must a reader that closed its end of a pipe.
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  CliApp app;
  return app.Run(argc, argv);
}
