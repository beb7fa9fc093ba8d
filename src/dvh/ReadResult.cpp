// Texts for failed reads.
#include "dvh/ReadResult.h"

#include "dvh/DvhLineFields.h"

std::string FileNameOf(const std::string& path) {
    std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ReadFailureText(const std::string& path, const ReadResult& result) {
    std::string text = "Cannot read " + FileNameOf(path);
    if (result.line > 0) text += ", line " + std::to_string(result.line);
    if (!result.detail.empty()) text += ": " + result.detail;
    return text;
}

ReadResult NotANumberAt(long line, std::string_view text) {
    return ReadResult::Fail(ReadStatus::BadNumber, line, dvhtext::Quote(text) + " is not a number");
}

ReadResult OutOfRangeAt(long line) { return ReadResult::Fail(ReadStatus::BadNumber, line, "a value out of range"); }
