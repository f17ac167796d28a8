// Rewrites the file a stream is open on so that it carries the given tag
// fields: a fresh ID3v2 tag at its front (CId3v2Writer) and an ID3v1.1
// record as its last 128 bytes (overwriting the old record when the content
// ended with one). The new content is built in a file created beside the
// target, "<target>.vuxtemp", or ".<8 hex digits>.vuxtemp" in its folder
// when that name is taken or too long, and replaces the target in one
// rename. A file found under either name is never opened, followed or
// removed. Every failure leaves the target byte for byte as it was and
// removes the temporary file.
//
// A flag that is false writes an empty tag of its kind (28 bytes of padding,
// or a record holding only "TAG" and genre 255); both false is a failure.
// A target without write permission is not replaced. The new file keeps the
// target's permission bits. The stream is reopened read-only on the target
// afterwards; after a failure it is back at the position it had.
#pragma once

#include "tags/Unknown.h"

class CTagFieldList;
class IFileStream;

inline constexpr const char* kRewriteTempSuffix = ".vuxtemp";

HRESULT RewriteWithTags(IFileStream* stream, const CTagFieldList& fields, bool withId3v1,
                        bool withId3v2);
