// The record of a change of several files, and the end of one that a kill cut short.
#include "platform/AtomicWrite.h"

#include "platform/FileLock.h"
#include "platform/Paths.h"
#include "platform/TemporaryFiles.h"
#include "platform/PermissionNeeded.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <optional>
#include <utility>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

using namespace detail;

namespace {

/// The first field of a record, so that no other file is ever taken for one.
constexpr std::string_view kRecordMark = "Tessaray commit record 1";

void AppendField(std::string& text, std::string_view field) {
    text += field;
    text += '\0';
}

template <class Number>
bool ParseNumber(const std::string& field, Number& value) {
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    return !field.empty() && error == std::errc() && stop == end;
}

/// The files of a record's `text` when it is a record of a change to `targets` (file names, in
/// their order); nothing otherwise, and then nothing it names is touched.
std::optional<std::vector<RecordedFile>> ParseRecord(const std::string& text, const std::vector<std::string>& targets) {
    // Fields, each ended by a NUL, which no file name holds.
    std::vector<std::string> fields;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = text.find('\0', pos);
        if (end == std::string::npos) return std::nullopt;
        fields.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    constexpr std::size_t kPerFile = 4;
    if (fields.empty() || fields[0] != kRecordMark || fields.size() != 1 + kPerFile * targets.size())
        return std::nullopt;
    std::vector<RecordedFile> files;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const std::string* field = &fields[1 + kPerFile * i];
        RecordedFile& file = files.emplace_back();
        file.TemporaryName = field[0];
        file.TargetName = field[1];
        if (file.TargetName != FileNameOf(targets[i]) || !IsTemporaryOf(file.TemporaryName, file.TargetName) ||
            !ParseNumber(field[2], file.Id.Device) || !ParseNumber(field[3], file.Id.Inode))
            return std::nullopt;
    }
    return files;
}

/// Reads what the open file `fd` holds; a record is a few file names, so anything much longer
/// is none.
bool ReadRecord(int fd, std::string& text) {
    constexpr std::size_t kMaxRecordBytes = std::size_t(1) << 16;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > kMaxRecordBytes) return false;
    }
}

/// What has a record's name.
enum class Peek { None, Record, Other, Unreadable };

/// Whether `path` is a regular file holding a record of `targets` (whose files and identity
/// `kept` then receives, when given); the name is not followed when it is a link. One that
/// this user may not read may be another user's record.
Peek PeekRecord(const std::string& path, const std::vector<std::string>& targets, KeptRecord* kept = nullptr) {
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
    if (!fd.Open()) return errno == EACCES ? Peek::Unreadable : errno == ENOENT ? Peek::None : Peek::Other;
    struct stat st {};
    std::string text;
    const bool read = ::fstat(fd.Get(), &st) == 0 && S_ISREG(st.st_mode) && ReadRecord(fd.Get(), text);
    auto files = read ? ParseRecord(text, targets) : std::nullopt;
    if (!files) return Peek::Other;
    if (kept) *kept = {IdentityOfDescriptor(fd.Get()), std::move(*files)};
    return Peek::Record;
}

/// Where one recorded temporary stands.
struct TemporaryState {
    Descriptor Held;         ///< it is there, whole, dead, and this user may replace it: locked while it
                             ///< is renamed or removed
    bool Foreign = false;    ///< it is there, but not to be taken (`Why` says why)
    NotDead Why = NotDead::Missing;
    bool Renamed = false;    ///< it is gone and its target is that very file
};

TemporaryState Inspect(const std::string& folder, const RecordedFile& file) {
    TemporaryState state;
    // Another user's save in a folder that lets this user replace their files is ended as
    // their own would be; elsewhere it waits for them.
    Descriptor held = LockIfDead(folder + file.TemporaryName, Taking::Replaceable, &state.Why);
    if (held.Get() >= 0) {
        // A file of that name that is not the one recorded is none of the change's.
        if (IdentityOfDescriptor(held.Get()).SameFile(file.Id)) state.Held = std::move(held);
    } else if (state.Why != NotDead::Missing) {
        state.Foreign = true;
    }
    if (state.Held.Get() < 0 && !state.Foreign)
        state.Renamed = IdentityOfName(folder + file.TargetName).SameFile(file.Id);
    return state;
}

CommitEnd Unfinished(const std::string& why) { return {CommitEnd::State::Unfinished, why}; }

/// Why what a change left at `path` is not to be taken (`why`): a program writes it, or whose
/// save left it and who may end that save.
CommitEnd NotTaken(const std::string& path, NotDead why) {
    if (why == NotDead::InUse) return Unfinished("another program is writing it");
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || st.st_uid == ::geteuid())
        return Unfinished("\"" + FileNameOf(path) + "\" is not a file that save left");
    const std::string owner = UserName(st.st_uid);
    if (why == NotDead::Unreadable)
        return Unfinished("it was left by " + owner + "'s save, whose files you may not read: only " + owner +
                          " can end it");
    return Unfinished("it was left by " + owner + "'s save, which only " + owner +
                      " or a save in a folder that lets you replace their files can end");
}

bool Held(const TemporaryState& state) { return state.Held.Open(); }

}  // namespace

namespace detail {

RecordName InspectRecordName(const std::string& path, const std::vector<std::string>& targets, KeptRecord& kept) {
    switch (PeekRecord(path, targets, &kept)) {
        case Peek::None: return RecordName::Free;
        case Peek::Record: return RecordName::Kept;
        case Peek::Other:
        case Peek::Unreadable: break;
    }
    return RecordName::Taken;
}

std::string CommitRecordText(const std::vector<RecordedFile>& files) {
    std::string text;
    AppendField(text, kRecordMark);
    for (const RecordedFile& file : files) {
        AppendField(text, file.TemporaryName);
        AppendField(text, file.TargetName);
        AppendField(text, std::to_string(file.Id.Device));
        AppendField(text, std::to_string(file.Id.Inode));
    }
    return text;
}

}  // namespace detail

CommitEnd FinishInterruptedCommit(const CommitRecord& commit, const std::vector<std::string>& targets,
                                  LockWait wait) {
    // Most entries have no record, and nothing is locked or made for them.
    const Peek peek = PeekRecord(commit.Path, targets);
    if (peek == Peek::None || peek == Peek::Other) return {};
    if (peek == Peek::Unreadable) return Unfinished("its record cannot be read");
    const FileLock turn(commit.Lock, wait);
    if (!turn.Held()) return {turn.Busy() ? CommitEnd::State::Busy : CommitEnd::State::Unfinished, turn.Error()};
    // Read again under the lock: another may have ended the change meanwhile.
    NotDead why = NotDead::Missing;
    const Descriptor record = LockIfDead(commit.Path, Taking::Replaceable, &why);
    if (record.Get() < 0) return why == NotDead::Missing ? CommitEnd{} : NotTaken(commit.Path, why);
    std::string text;
    const auto files = ReadRecord(record.Get(), text) ? ParseRecord(text, targets) : std::nullopt;
    if (!files) return {};

    const std::string folder = FolderPrefixOf(commit.Path);
    std::vector<TemporaryState> states;
    for (const RecordedFile& file : *files) {
        states.push_back(Inspect(folder, file));
        if (states.back().Foreign) return NotTaken(folder + file.TemporaryName, states.back().Why);
    }
    // The record was written once every temporary was whole, and they take their names in
    // order: those before a kill have them, the rest wait, whole. Anything else is no state
    // that a writer left (something removed a temporary). Where no file is new yet, what is
    // left of it goes; where some are, the files are part new, part old, and the record stays
    // with what it names, for a change of them all to end it.
    std::size_t first = 0;
    while (first < states.size() && states[first].Renamed) ++first;
    const bool whole = std::all_of(states.begin() + static_cast<std::ptrdiff_t>(first), states.end(), Held);
    if (!whole && std::any_of(states.begin(), states.end(), [](const TemporaryState& t) { return t.Renamed; })) {
        std::size_t gone = first;
        while (gone < states.size() && (states[gone].Renamed || Held(states[gone]))) ++gone;
        // The temporary's own name means nothing to a user: the file it was to become does.
        std::string why = "only part of it was written";
        if (gone < states.size()) why += ": the new " + (*files)[gone].TargetName + " of that save is missing";
        return {CommitEnd::State::Partial, why};
    }
    if (whole) {
        for (std::size_t i = first; i < states.size(); ++i) {
            const std::string target = folder + (*files)[i].TargetName;
            // What took its name already counts as renamed the next time round.
            if (std::rename((folder + (*files)[i].TemporaryName).c_str(), target.c_str()) != 0)
                return Unfinished(SystemError("Cannot replace", target));
        }
        SyncFolderOf(commit.Path);
    } else {
        for (std::size_t i = 0; i < states.size(); ++i)
            if (Held(states[i])) RemoveIfStill(folder + (*files)[i].TemporaryName, states[i].Held.Get());
    }
    RemoveIfStill(commit.Path, record.Get());
    SyncFolderOf(commit.Path);
    return {whole ? CommitEnd::State::Completed : CommitEnd::State::Discarded, {}};
}

bool CommitRecorded(const CommitRecord& commit, const std::vector<std::string>& targets) {
    // A file of the record's name that is no record of them says nothing of a change.
    const Peek peek = PeekRecord(commit.Path, targets);
    return peek == Peek::Record || peek == Peek::Unreadable;
}

}  // namespace platform
