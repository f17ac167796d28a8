// Fuzz target: the tag reading of the carry-over on a file made of the
// input: the ID3v2 reader (every version, unsynchronisation, extended
// headers, both size readings), the ID3v1 record at the end and the rules
// that take the seven fields out of them.
#include "fuzz/FieldsCheck.h"
#include "fuzz/FuzzScratch.h"
#include "tags/FileStream.h"
#include "tags/Id3v2Fields.h"
#include "tags/Id3v2Reader.h"
#include "tags/TagTransfer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = FuzzScratch::Get().Write("input.mp3", data, size);

  // The reader alone: the stream is left where it was.
  {
    CFileStream stream;
    FUZZ_CHECK(stream.OpenA(path.c_str(), false) == S_OK);
    const int64_t middle = static_cast<int64_t>(size / 2);
    FUZZ_CHECK(stream.Seek(middle, FILE_BEGIN) == middle);
    CId3v2Reader reader;
    FUZZ_CHECK(reader.Read(&stream));
    FUZZ_CHECK(stream.Tell() == middle);
    if (reader.HasTag()) {
      FUZZ_CHECK(reader.Version() <= 4);
      FUZZ_CHECK(reader.EndPosition() >= 10);
    } else {
      FUZZ_CHECK(reader.Frames().empty());
    }
    for (const Id3v2Frame& frame : reader.Frames()) {
      FUZZ_CHECK(frame.dataSize <= size);
    }
    CTagFieldList fields;
    TakeId3v2Fields(reader, fields);
    CheckFieldList(fields);
    reader.Clear();
  }

  // The carry-over's reading: both tags, ID3v2 values replacing ID3v1 ones.
  CTagTransfer transfer;
  const bool found = transfer.ReadFrom(path.c_str());
  FUZZ_CHECK(transfer.SourceOpened());
  FUZZ_CHECK(found == !transfer.Fields().Empty());
  CheckFieldList(transfer.Fields());
  FUZZ_CHECK(!transfer.ReadFrom(path.c_str()));  // one source per object
  return 0;
}
