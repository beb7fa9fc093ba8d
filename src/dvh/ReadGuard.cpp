// What an exception that ended a read says.
#include "dvh/ReadGuard.h"

#include <new>

ReadResult ExceptionFailure(std::exception_ptr failure) noexcept {
    try {
        try {
            std::rethrow_exception(failure);
        } catch (const std::bad_alloc&) {
            return ReadResult::Fail(ReadStatus::ReadError, 0, "out of memory");
        } catch (const std::exception& e) {
            return ReadResult::Fail(ReadStatus::ReadError, 0, e.what());
        } catch (...) {
        }
        return ReadResult::Fail(ReadStatus::ReadError, 0, "the read stopped on an unknown error");
    } catch (...) {
        // The text itself found no memory.
        return ReadResult::Fail(ReadStatus::ReadError, 0, "out of memory");
    }
}
