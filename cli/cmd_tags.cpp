// padocut-cli tags FILE: the tags a cut would carry over from FILE, as one
// JSON object.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/TagCharsetOption.h"
#include "cli/Texts.h"
#include "tags/Id3v2Writer.h"
#include "tags/TagTransfer.h"

namespace {

const char* const kFieldNames[kTagFieldKeyCount] = {"title", "artist", "album", "track",
                                                    "year",  "genre",  "comment"};

void PrintHelpDetails() {
  std::printf(
      "  Prints {\"id3v1\": true|false, \"id3v2\": VERSION|null, \"fields\": {...}}.\n"
      "  \"fields\" holds the seven keys title, artist, album, track, year, genre,\n"
      "  comment: first the fields FILE supplies, in the order a cut writes them,\n"
      "  each the UTF-8 text it carries over; then the absent keys, as null.\n%s",
      kTagCharsetHelp);
}

}  // namespace

int RunTags(int argc, char** argv) {
  const CliCommand& command = *FindCommand("tags");
  if (WantsHelp(command, argc, argv)) {
    PrintHelpDetails();
    return kCliOk;
  }
  std::vector<std::string> args(argv + 1, argv + argc);
  if (auto problem = ApplyTagCharsetOption(args)) return UsageError(command, *problem);
  if (args.size() != 1) return UsageError(command, clitext::kExpectedOneFile);

  CTagTransfer transfer;
  transfer.ReadFrom(args[0].c_str());
  if (!transfer.SourceOpened()) return Failure(clitext::CannotOpen(args[0]));

  std::string out = "{\"id3v1\": ";
  out += transfer.HasId3v1() ? "true" : "false";
  out += ", \"id3v2\": ";
  out += transfer.Id3v2Version() >= 0 ? std::to_string(transfer.Id3v2Version()) : "null";
  out += ", \"fields\": {";
  bool printed[kTagFieldKeyCount] = {};
  bool first = true;
  auto add = [&](int key, const std::string& value) {
    out += first ? "" : ", ";
    first = false;
    out += JsonString(kFieldNames[key]) + ": " + value;
  };
  for (const TagField* field = transfer.Fields().Head(); field; field = field->next) {
    if (field->key < 0 || field->key >= kTagFieldKeyCount || printed[field->key]) continue;
    printed[field->key] = true;
    const std::optional<std::string> text = FieldUtf8Text(*field);
    add(field->key, text ? JsonString(*text) : "null");
  }
  for (int key = 0; key < kTagFieldKeyCount; ++key) {
    if (!printed[key]) add(key, "null");
  }
  out += "}}";
  std::printf("%s\n", out.c_str());
  return kCliOk;
}
