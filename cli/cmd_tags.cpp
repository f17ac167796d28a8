// padocut-cli tags FILE...: the tags a cut would carry over from each file,
// as one JSON object per line.
#include <memory>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/TagCharsetOption.h"
#include "cli/Texts.h"
#include "tags/Id3v2Writer.h"
#include "tags/TagTransfer.h"

namespace {

const char* const kFieldNames[kTagFieldKeyCount] = {"title", "artist", "album", "track",
                                                    "year",  "genre",  "comment"};

struct TagsArguments {
  CLI::App* command = nullptr;
  std::vector<std::string> files;
  std::string tagCharset;
};

// The fields FILE supplies, in the order a cut writes them, then the absent
// keys as null.
Json FieldsJson(const CTagTransfer& transfer) {
  Json fields = Json::object();
  for (const TagField* field = transfer.Fields().Head(); field; field = field->next) {
    if (field->key < 0 || field->key >= kTagFieldKeyCount || fields.contains(kFieldNames[field->key])) continue;
    const std::optional<std::string> text = FieldUtf8Text(*field);
    fields[kFieldNames[field->key]] = text ? Json(*text) : Json(nullptr);
  }
  for (const char* name : kFieldNames) {
    if (!fields.contains(name)) fields[name] = nullptr;
  }
  return fields;
}

Json TagsJson(const CTagTransfer& transfer, const std::string& file) {
  const int version = transfer.Id3v2Version();
  return Json{{"id3v1", transfer.HasId3v1()},
              {"id3v2", version >= 0 ? Json(version) : Json(nullptr)},
              {"fields", FieldsJson(transfer)},
              {"file", file}};
}

int RunTags(const TagsArguments& args) {
  if (auto problem = ApplyTagCharset(args.tagCharset)) return UsageError(*args.command, *problem);
  int status = kCliOk;
  for (const std::string& file : args.files) {
    CTagTransfer transfer;
    const auto unreadable = UnreadableReason(file);
    if (!unreadable) transfer.ReadFrom(file.c_str());
    if (unreadable || !transfer.SourceOpened()) {
      status = FileFailure(file, unreadable.value_or(clitext::kNotARegularFile));
      continue;
    }
    if (!PrintLine(JsonLine(TagsJson(transfer, file)))) break;
  }
  return status;
}

}  // namespace

void AddTagsCommand(CliApp& app) {
  auto args = std::make_shared<TagsArguments>();
  CLI::App& command = app.AddCommand("tags", "the tags a cut carries over from each FILE (JSON, one line each)",
                                     [args] { return RunTags(*args); });
  args->command = &command;
  command.add_option("FILE", args->files, "files")->required();
  AddTagCharsetOption(command, &args->tagCharset);
  command.footer(
      "Prints {\"id3v1\": true|false, \"id3v2\": VERSION|null, \"fields\": {...}, \"file\": FILE}\n"
      "per FILE. \"fields\" holds the seven keys title, artist, album, track, year, genre,\n"
      "comment: first the fields FILE supplies, in the order a cut writes them, each the\n"
      "UTF-8 text it carries over; then the absent keys, as null.");
}
