// Outcome of recognising or reading a DVH file: a status, the line it concerns and a detail.
#pragma once

#include <string>
#include <string_view>

/// Why a recognition or a read stopped. `Ok` is the only success.
enum class ReadStatus {
    Ok,
    NotFound,           ///< the file does not exist or cannot be opened
    ReadError,          ///< reading the file failed part-way
    Empty,              ///< the file holds no line
    Unrecognised,       ///< first line or kind line of no known kind
    MultiPlan,          ///< "DVHs for several plans" or "DVH's for multiple plans and plan sums"
    Differential,       ///< a differential DVH, which the program does not read
    NotCumulative,      ///< the type line does not say "Cumulative"
    NoPlanLine,         ///< the line after the type line is neither "Plan" nor "Description"
    Truncated,          ///< the file ends inside its header or inside a structure block
    BadNumber,          ///< a value or column that is not a finite number
    BadRow,             ///< a table row with fewer fields than the table needs
    NoPrescribedDose,   ///< no "Prescribed dose" line among the first 50 lines
    BadPrescribedDose,  ///< a prescribed dose of 0 or below: relative doses cannot be derived
    MissingLine,        ///< no "Volume", "Min" or empty line within 999 lines of a block
    NoStructures,       ///< the file holds no structure block
    NotYetReadable,     ///< a kind that is recognised but whose reader is not part of the program yet
    UnknownFileType,    ///< the plan's file type is none that this reader handles
    NoPlan,             ///< there is no plan dataset to fill
    LineTooLong,        ///< a line longer than any export holds (a file without line ends)
    NotAFile,           ///< a folder, FIFO or device where a file was expected
};

/// A status, the 1-based line it concerns (0 for none) and a short detail for the user.
struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    long line = 0;
    std::string detail;

    bool ok() const { return status == ReadStatus::Ok; }
    explicit operator bool() const { return ok(); }

    static ReadResult Fail(ReadStatus s, long line, std::string detail) {
        return ReadResult{s, line, std::move(detail)};
    }
};

/// The refusal of a field that is not a number, quoting it, on `line`.
ReadResult NotANumberAt(long line, std::string_view text);
/// The refusal of a value out of range (not finite, negative, or one that makes a statistic
/// overflow), on `line` (0 when it comes from no line).
ReadResult OutOfRangeAt(long line);

/// The status-bar text for a failed read: the file name (no folder), the line and the detail.
std::string ReadFailureText(const std::string& path, const ReadResult& result);
/// The part of `path` after its last '/' (or '\\').
std::string FileNameOf(const std::string& path);
