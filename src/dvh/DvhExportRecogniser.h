// Tells the kind of a DVH export from its first lines and takes its patient and plan identification.
#pragma once

#include "dvh/ReadResult.h"

#include <string>
#include <string_view>

class LineCursor;

/// The identification a recogniser takes from a header (the main window's `Header...` members
/// and the saved-DVH browser's own copies).
struct DvhHeaderFields {
    std::string PatientName;
    std::string PatientID;
    std::string PatientExtra;
    std::string PlanName;
    std::string PlanID;
    std::string Date;
    std::string Time;
};

/// What a recognition found: the DVH file type code (0 when unreadable, never 4 or 14), the
/// reason for a 0, and the header fields. `identified` says whether the first line was one the
/// program knows ("Patient Name" or the XiO title): only then are the fields meaningful.
struct DvhHeader {
    int FileType = 0;
    ReadResult result;
    bool identified = false;
    DvhHeaderFields fields;
};

/// Recognises the export held in `text`: codes 2, 3, 5, 6, 7, 12, 13, or 0 with a reason
/// (multi-plan, differential, not cumulative, truncated header...).
DvhHeader RecogniseDvhHeader(std::string_view text);
/// The same over lines already positioned at the file's first line.
DvhHeader RecogniseDvhHeader(LineCursor& lines);
/// Reads only as much of the file at `path` as its header needs and recognises it; a file that
/// cannot be opened gives 0 with `NotFound`.
DvhHeader RecogniseDvhHeaderFile(const std::string& path);
