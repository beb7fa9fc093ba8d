// The record of a change of several files, and the end of one that a kill cut short.
#include "platform/AtomicWrite.h"

#include "platform/FileLock.h"
#include "platform/FileVersion.h"
#include "platform/OpenedFile.h"
#include "platform/Paths.h"
#include "platform/TemporaryFiles.h"
#include "platform/PermissionNeeded.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <memory>
#include <new>
#include <optional>
#include <utility>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

using namespace detail;

namespace {

/// The first field of a record, which tells its kind. A record of the first kind, which older
/// builds write, tells its temporaries by device and inode, which a copy of the folder (a
/// backup restored, another disk) or a file system that numbers its files anew at each mount
/// (vfat, exFAT) does not keep; one of the second, by what they hold. A file at a record's name
/// that is neither does not parse: a record cut short (a copy that ran out of room, to nothing
/// or within its first field), zeroed or changed by a failing disk, one of a later version, or
/// another program's file, which nothing tells apart from a damaged record. Whatever it is,
/// what it would say of its files is lost.
constexpr std::string_view kRecordMark = "Tessaray commit record 2";
constexpr std::string_view kInodeRecordMark = "Tessaray commit record 1";
/// What a record says of the old content of a target that no file had.
constexpr std::string_view kNoFile = "none";

void AppendField(std::string& text, std::string_view field) {
    text += field;
    text += '\0';
}

template <class Number>
bool ParseNumber(std::string_view field, Number& value, int base = 10) {
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value, base);
    return !field.empty() && error == std::errc() && stop == end;
}

/// "<size>:<digest in 16 hexadecimal digits>".
std::string ContentText(const FileContent& content) {
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(content.Digest));
    return std::to_string(content.Size) + ":" + digest;
}

bool ParseContent(std::string_view field, FileContent& content) {
    const std::size_t colon = field.find(':');
    return colon != std::string_view::npos && ParseNumber(field.substr(0, colon), content.Size) &&
           content.Size >= 0 && ParseNumber(field.substr(colon + 1), content.Digest, 16);
}

/// Reads one file's four fields of a record into `file`: false when they are no such fields.
bool ParseFile(const std::string* field, bool byInode, RecordedFile& file) {
    file.TemporaryName = field[0];
    file.TargetName = field[1];
    if (!IsTemporaryOf(file.TemporaryName, file.TargetName)) return false;
    if (byInode) return ParseNumber(field[2], file.Id.Device) && ParseNumber(field[3], file.Id.Inode);
    if (!ParseContent(field[2], file.New)) return false;
    if (field[3] == kNoFile) return true;
    return ParseContent(field[3], file.Old.emplace());
}

/// What the record `text` says when it is a record of a change to `targets` (file names, in
/// their order); nothing otherwise, and then nothing it names is touched.
std::optional<RecordedChange> ParseRecord(const std::string& text, const std::vector<std::string>& targets) {
    // Fields, each ended by a NUL, which no file name holds.
    std::vector<std::string> fields;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = text.find('\0', pos);
        if (end == std::string::npos) return std::nullopt;
        fields.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    if (fields.empty()) return std::nullopt;
    RecordedChange change;
    change.ByInode = fields[0] == kInodeRecordMark;
    if (!change.ByInode && fields[0] != kRecordMark) return std::nullopt;
    // The mark, and in a record of contents the target that a superseded change left old.
    const std::size_t head = change.ByInode ? 1 : 2;
    constexpr std::size_t kPerFile = 4;
    if (fields.size() != head + kPerFile * targets.size()) return std::nullopt;
    if (!change.ByInode) {
        change.LeftPartNew = fields[1];
        const auto named = [&](const std::string& target) { return FileNameOf(target) == change.LeftPartNew; };
        if (!change.LeftPartNew.empty() && std::none_of(targets.begin(), targets.end(), named)) return std::nullopt;
    }
    for (std::size_t i = 0; i < targets.size(); ++i) {
        RecordedFile& file = change.Files.emplace_back();
        if (!ParseFile(&fields[head + kPerFile * i], change.ByInode, file) || file.TargetName != FileNameOf(targets[i]))
            return std::nullopt;
    }
    return change;
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

/// What has a record's name: nothing, a record of the change, something that is none (see
/// `kRecordMark`), a file that this user may not read, nothing that this user may see, since
/// its folder does not let them in, or what could not be opened for another reason (no
/// descriptor left, a failing disk).
enum class Peek { None, Record, Damaged, Unreadable, FolderShut, Failed };

/// What the regular file `fd` at a record's name holds: a record of `targets` (`change` then
/// receives it), or anything else, a file whose read failed too, which may be a record.
Peek ReadAtRecordName(int fd, const std::vector<std::string>& targets, std::optional<RecordedChange>& change) {
    std::string text;
    change = ReadRecord(fd, text) ? ParseRecord(text, targets) : std::nullopt;
    return change ? Peek::Record : Peek::Damaged;
}

/// What something at a record's name that is no record says of its change.
std::string DamagedRecordText(const std::string& path) {
    return "its record \"" + FileNameOf(path) + "\" is cut short or damaged: which of its files are new cannot be told";
}

/// Whether `path` is a regular file holding a record of `targets` (whose files and identity
/// `kept` then receives, when given); the name is not followed when it is a link. One that
/// this user may not read may be another user's record; anything else there is a damaged one,
/// a link or a folder too, which no save leaves. `error` receives the errno of a failed open.
Peek PeekRecord(const std::string& path, const std::vector<std::string>& targets, KeptRecord* kept = nullptr,
                int* error = nullptr) {
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
    if (!fd.Open()) {
        if (error) *error = errno;
        if (errno == ENOENT || errno == ENOTDIR) return Peek::None;
        if (errno == ELOOP) return Peek::Damaged;
        if (errno != EACCES) return Peek::Failed;
        // Refused by its folder, the name tells nothing: there may be no record at all.
        const bool folderShut =
            ::faccessat(AT_FDCWD, FolderOf(path).c_str(), X_OK, AT_EACCESS) != 0 && errno == EACCES;
        return folderShut ? Peek::FolderShut : Peek::Unreadable;
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return Peek::Damaged;
    std::optional<RecordedChange> change;
    const Peek peek = ReadAtRecordName(fd.Get(), targets, change);
    if (peek == Peek::Record && kept) *kept = {IdentityOfDescriptor(fd.Get()), std::move(*change)};
    return peek;
}

/// An open regular file told by its content: read and digested once, and only when its size
/// is that of a content asked about.
class HeldContent {
public:
    explicit HeldContent(int fd) : m_fd(fd) {
        struct stat st {};
        if (::fstat(fd, &st) == 0) m_size = st.st_size;
    }
    /// Whether it holds `content`; none when it cannot be read whole, since it may then still
    /// be the file that is looked for.
    std::optional<bool> Holds(const FileContent& content) {
        if (m_size < 0) return std::nullopt;
        if (m_size != content.Size) return false;
        if (m_read == Read::Not)
            m_read = DigestOfDescriptor(m_fd, m_content.Size, m_content.Digest) ? Read::Done : Read::Failed;
        if (m_read == Read::Failed) return std::nullopt;
        return m_content == content;
    }

private:
    int m_fd;
    long long m_size = -1;
    enum class Read { Not, Done, Failed } m_read = Read::Not;
    FileContent m_content;  ///< what it holds, once read
};

/// What a target holds, by what its record says: `Missing` where no regular file has its name
/// (a link has no content of the change's: a save replaces it, never writes through it).
enum class TargetHolds { New, Old, Other, Missing, Unknown };

TargetHolds TargetContent(const std::string& path, const RecordedFile& file) {
    OpenProblem problem = OpenProblem::None;
    const Descriptor fd(OpenRegularFileAs(path, O_RDONLY | O_CLOEXEC | O_NOFOLLOW, &problem));
    if (!fd.Open())
        return problem == OpenProblem::Unreadable && errno != ELOOP ? TargetHolds::Unknown : TargetHolds::Missing;
    HeldContent held(fd.Get());
    const std::optional<bool> isNew = held.Holds(file.New);
    if (!isNew) return TargetHolds::Unknown;
    if (*isNew) return TargetHolds::New;
    if (!file.Old) return TargetHolds::Other;
    const std::optional<bool> isOld = held.Holds(*file.Old);
    if (!isOld) return TargetHolds::Unknown;
    return *isOld ? TargetHolds::Old : TargetHolds::Other;
}

/// Whether the regular file `path`, a target whose temporary waits, holds what another program
/// wrote there since: neither what the record says it held before nor what it is to hold. One
/// that is missing, or cannot be read, is none: a completion gives it its new file.
bool WrittenSince(const std::string& path, const RecordedFile& file) {
    return TargetContent(path, file) == TargetHolds::Other;
}

/// What a change whose `target` holds neither its old nor its new content says.
std::string WrittenSinceText(const std::string& target) {
    return target + " holds neither what it held before that save nor what it wrote";
}

/// Where one recorded temporary stands.
struct TemporaryState {
    Descriptor Held;         ///< it is there, whole, dead, and this user may replace it: locked while it
                             ///< is renamed or removed
    bool Foreign = false;    ///< it is there, but not to be taken (`Why` says why)
    NotDead Why = NotDead::Missing;
    bool Unreadable = false; ///< it, or its target (`TargetUnreadable`), could not be read: nothing
                             ///< can be told
    bool TargetUnreadable = false;
    bool Renamed = false;    ///< it is gone and its target holds what it held
    bool Stranger = false;   ///< a file has its name that is not the one recorded
    bool Changed = false;    ///< its target holds neither what it held nor the old file: it is gone, or
                             ///< another program wrote the target while it waited
};

/// Whether the held temporary `fd` is the one recorded as `file`: the same file, by what it
/// holds, or in an older build's record by device and inode. None when it cannot be read.
std::optional<bool> IsRecorded(int fd, const RecordedFile& file, bool byInode) {
    if (byInode) return IdentityOfDescriptor(fd).SameFile(file.Id);
    return HeldContent(fd).Holds(file.New);
}

TemporaryState Inspect(const std::string& folder, const RecordedFile& file, bool byInode) {
    TemporaryState state;
    // Another user's save in a folder that lets this user replace their files is ended as
    // their own would be; elsewhere it waits for them.
    Descriptor held = LockIfDead(folder + file.TemporaryName, Taking::Replaceable, &state.Why);
    if (held.Get() >= 0) {
        // A file of that name that is not the one recorded is none of the change's.
        const std::optional<bool> recorded = IsRecorded(held.Get(), file, byInode);
        state.Unreadable = !recorded;
        if (recorded.value_or(false))
            state.Held = std::move(held);
        else
            state.Stranger = recorded.has_value();
        // A file that another program wrote at the name it waits for is not to be replaced.
        if (state.Held.Open() && !byInode) state.Changed = WrittenSince(folder + file.TargetName, file);
    } else if (state.Why != NotDead::Missing) {
        state.Foreign = true;
    }
    if (state.Held.Open() || state.Foreign || state.Unreadable) return state;
    const std::string target = folder + file.TargetName;
    if (byInode) {
        state.Renamed = IdentityOfName(target).SameFile(file.Id);
        return state;
    }
    switch (TargetContent(target, file)) {
        case TargetHolds::New: state.Renamed = true; break;
        case TargetHolds::Old: break;
        case TargetHolds::Other: state.Changed = true; break;
        // Gone where there was a file before the save: it is not the old one either.
        case TargetHolds::Missing: state.Changed = file.Old.has_value(); break;
        case TargetHolds::Unknown: state.Unreadable = state.TargetUnreadable = true; break;
    }
    return state;
}

/// Why a change left its files part new, part old: the new `target` of it is missing.
std::string PartNewText(const std::string& target) {
    // The temporary's own name means nothing to a user: the file it was to become does.
    std::string why = "only part of it was written";
    if (!target.empty()) why += ": the new " + target + " of that save is missing";
    return why;
}

CommitEnd Unfinished(const std::string& why) { return {CommitEnd::State::Unfinished, why}; }

/// Whether an older build's record, which tells its files by device and inode alone, finds
/// none of them where it lies: a file of a temporary's name is another, or no temporary is
/// there and no target is one of them. A save of the record's own folder leaves one of them
/// there at every step, so its folder was copied since (a backup restored, another disk) or its
/// files numbered anew: what it left cannot be told, and may be part new.
bool LostByInode(const std::vector<TemporaryState>& states) {
    const auto found = [](const TemporaryState& t) { return t.Held.Open() || t.Renamed; };
    const auto stranger = [](const TemporaryState& t) { return t.Stranger; };
    return std::any_of(states.begin(), states.end(), stranger) ||
           std::none_of(states.begin(), states.end(), found);
}

/// What a record that `LostByInode` says says of its files.
constexpr const char* kLostByInodeText =
    "it was recorded by an older version of Tessaray, whose record is lost with a copy of its folder: "
    "which of its files are new cannot be told";

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
        case Peek::Damaged:
        case Peek::Unreadable:
        case Peek::FolderShut:
        case Peek::Failed: break;
    }
    return RecordName::Taken;
}

FileContent ContentOf(std::string_view bytes) {
    return {static_cast<long long>(bytes.size()), ContentDigest(bytes)};
}

std::optional<FileContent> ContentOfFile(const std::string& path, OpenProblem* problem) {
    const Descriptor fd(OpenRegularFile(path, problem));
    if (!fd.Open()) return std::nullopt;
    FileContent content;
    if (DigestOfDescriptor(fd.Get(), content.Size, content.Digest)) return content;
    if (problem) *problem = OpenProblem::Unreadable;
    return std::nullopt;
}

std::string CommitRecordText(const RecordedChange& change) {
    std::string text;
    AppendField(text, kRecordMark);
    AppendField(text, change.LeftPartNew);
    for (const RecordedFile& file : change.Files) {
        AppendField(text, file.TemporaryName);
        AppendField(text, file.TargetName);
        AppendField(text, ContentText(file.New));
        AppendField(text, file.Old ? ContentText(*file.Old) : std::string(kNoFile));
    }
    return text;
}

std::string PartNewTargetOf(const std::string& recordPath, const RecordedChange& kept) {
    const std::string folder = FolderPrefixOf(recordPath);
    std::vector<TemporaryState> states;
    for (const RecordedFile& file : kept.Files) states.push_back(Inspect(folder, file, kept.ByInode));
    // Nothing of it found: the last file, which a change renames last, is the one most likely old.
    if (kept.ByInode && LostByInode(states)) return kept.Files.back().TargetName;
    const auto renamed = [](const TemporaryState& t) { return t.Renamed; };
    const auto untold = [](const TemporaryState& t) { return t.Foreign || t.Unreadable || t.Changed; };
    const auto firstOld = std::find_if_not(states.begin(), states.end(), renamed);
    // All new: the files are that change's. None new and all told: they are as it found them.
    if (firstOld == states.end()) return {};
    if (std::none_of(states.begin(), states.end(), renamed) && std::none_of(states.begin(), states.end(), untold))
        return kept.LeftPartNew;
    const auto firstUntold = std::find_if(states.begin(), states.end(), untold);
    const auto named = std::any_of(states.begin(), states.end(), renamed) ? firstOld : firstUntold;
    return kept.Files[static_cast<std::size_t>(named - states.begin())].TargetName;
}

}  // namespace detail

CommitEnd FinishInterruptedCommit(const CommitRecord& commit, const std::vector<std::string>& targets,
                                  LockWait wait) {
    // Most entries have no record, and nothing is locked or made for them.
    int error = 0;
    const Peek peek = PeekRecord(commit.Path, targets, nullptr, &error);
    if (peek == Peek::None) return {};
    if (peek == Peek::FolderShut) return {CommitEnd::State::Unreachable, ReadPermissionNeeded(commit.Path)};
    if (peek == Peek::Unreadable) return Unfinished("its record cannot be read: " + ReadPermissionNeeded(commit.Path));
    if (peek == Peek::Failed) return Unfinished(std::string("its record cannot be read: ") + std::strerror(error));
    // Whatever else has the record's name is kept as it is, and so are the files it may name.
    if (peek == Peek::Damaged) return Unfinished(DamagedRecordText(commit.Path));
    const FileLock turn(commit.Lock, wait);
    if (!turn.Held()) return {turn.Busy() ? CommitEnd::State::Busy : CommitEnd::State::Unfinished, turn.Error()};
    // Read again under the lock: another may have ended the change meanwhile.
    NotDead why = NotDead::Missing;
    const Descriptor record = LockIfDead(commit.Path, Taking::Replaceable, &why);
    if (record.Get() < 0) return why == NotDead::Missing ? CommitEnd{} : NotTaken(commit.Path, why);
    std::optional<RecordedChange> recorded;
    if (ReadAtRecordName(record.Get(), targets, recorded) != Peek::Record)
        return Unfinished(DamagedRecordText(commit.Path));

    const std::string folder = FolderPrefixOf(commit.Path);
    const RecordedChange& change = *recorded;
    std::vector<TemporaryState> states;
    for (const RecordedFile& file : change.Files) {
        states.push_back(Inspect(folder, file, change.ByInode));
        if (states.back().Foreign) return NotTaken(folder + file.TemporaryName, states.back().Why);
        // Nothing is taken for missing that may still be the change's.
        if (states.back().Unreadable)
            return Unfinished((states.back().TargetUnreadable ? "" : "the new ") + file.TargetName + " cannot be read");
    }
    if (change.ByInode && LostByInode(states)) return {CommitEnd::State::Partial, kLostByInodeText};
    // The record was written once every temporary was whole, and they take their names in
    // order: those before a kill have them, the rest wait, whole. Anything else is no state
    // that a writer left (something removed a temporary). Where no file is new yet, what is
    // left of it goes; where some are, the files are part new, part old, and the record stays
    // with what it names, for a change of them all to end it. So it does where none is new yet
    // but the change superseded one that left them part new, and where a file holds what none
    // of them wrote.
    std::size_t first = 0;
    while (first < states.size() && states[first].Renamed) ++first;
    const bool whole = std::all_of(states.begin() + static_cast<std::ptrdiff_t>(first), states.end(), Held);
    if (!whole) {
        if (std::any_of(states.begin(), states.end(), [](const TemporaryState& t) { return t.Renamed; })) {
            std::size_t gone = first;
            while (gone < states.size() && (states[gone].Renamed || Held(states[gone]))) ++gone;
            return {CommitEnd::State::Partial, PartNewText(gone < states.size() ? change.Files[gone].TargetName : "")};
        }
        if (!change.LeftPartNew.empty()) return {CommitEnd::State::Partial, PartNewText(change.LeftPartNew)};
        for (std::size_t i = 0; i < states.size(); ++i)
            if (states[i].Changed)
                return {CommitEnd::State::Partial, WrittenSinceText(change.Files[i].TargetName)};
    }
    // A file that another program wrote at a name the change has still to take is not
    // replaced: the files are no save's pair then, and say so.
    if (whole)
        for (std::size_t i = first; i < states.size(); ++i)
            if (states[i].Changed)
                return {CommitEnd::State::Partial, WrittenSinceText(change.Files[i].TargetName)};
    if (whole) {
        for (std::size_t i = first; i < states.size(); ++i) {
            const std::string target = folder + change.Files[i].TargetName;
            // What took its name already counts as renamed the next time round.
            if (std::rename((folder + change.Files[i].TemporaryName).c_str(), target.c_str()) != 0)
                return Unfinished(SystemError("Cannot replace", target));
        }
        SyncFolderOf(commit.Path);
    } else {
        for (std::size_t i = 0; i < states.size(); ++i)
            if (Held(states[i])) RemoveIfStill(folder + change.Files[i].TemporaryName, states[i].Held.Get());
    }
    RemoveIfStill(commit.Path, record.Get());
    SyncFolderOf(commit.Path);
    return {whole ? CommitEnd::State::Completed : CommitEnd::State::Discarded, {}};
}

bool CommitRecorded(const CommitRecord& commit, const std::vector<std::string>& targets) {
    // Only where nothing has the record's name is no change of them under way.
    return PeekRecord(commit.Path, targets) != Peek::None;
}

}  // namespace platform
