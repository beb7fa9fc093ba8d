// Shared pieces of the plan DVH readers.
#include "dvh/DvhReading.h"

#include "dvh/NameCompare.h"

#include <new>

int dvhread::FindBodyIndex(const std::vector<DVHDatasetClass>& structures) {
    int body = -1;
    for (std::size_t i = 0; i < structures.size(); ++i)
        if (StructureNamesEqual(structures[i].Name, "Body", false)) body = static_cast<int>(i);
    return body;
}

std::string CutShortText(const std::string& path) {
    return FileNameOf(path) + " looks cut short (it ends inside a table or a structure has no rows): "
                              "the plan shows what the file holds.";
}

ReadResult dvhread::ExceptionFailure(std::exception_ptr failure) {
    // Short texts: they fit a string without asking for memory, which may be what ran out.
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return ReadResult::Fail(ReadStatus::ReadError, 0, "out of memory");
    } catch (const std::exception& e) {
        return ReadResult::Fail(ReadStatus::ReadError, 0, e.what());
    } catch (...) {
    }
    return ReadResult::Fail(ReadStatus::ReadError, 0, "the read stopped on an unknown error");
}
