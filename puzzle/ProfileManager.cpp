#include "puzzle/ProfileManager.h"

#include "base/AtomicFile.h"
#include "base/Common.h"
#include "base/LogWriter.h"
#include "platform/DataFolder.h"
#include "puzzle/ProfileBudget.h"
#include "resources/XMLParser.h"
#include "resources/XmlText.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <map>
#include <set>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ProfileEnvironment gEnvironment;
ProfileManager::LoadResult gLastLoad = ProfileManager::LoadResult::NoFile;
// Set when a damaged profiles.xml could not be kept aside: saving over it
// would lose the player's only copy.
bool gSavingBlocked = false;
// The player has been told that progress cannot be saved (once per run).
bool gSaveFailureTold = false;
// The script variables (player and variable name) the log has named as left out of the saves.
std::set<std::pair<std::wstring, std::wstring>> gToldLeftOut;
bool gToldManyLeftOut = false;
// Each slot as this game last read or wrote it (its name and its state element): tells a profile another
// game added or changed since from one this game deleted or changed.
struct SyncedSlot
{
    std::wstring name;
    std::wstring state;
};
std::vector<SyncedSlot> gSynced;
// The file as it stood then: while it stands so, no other game has saved since and there is nothing to merge.
struct FileStamp
{
    ino_t inode{0};
    off_t size{-1};
    timespec modified{};

    bool operator==(const FileStamp& other) const
    {
        return inode == other.inode && size == other.size && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};
FileStamp gSyncedStamp;

FileStamp StampOf(const std::string& path)
{
    struct stat info
    {
    };
    FileStamp stamp;
    if (::stat(path.c_str(), &info) == 0) {
        stamp.inode = info.st_ino;
        stamp.size = info.st_size;
        stamp.modified = info.st_mtim;
    }
    return stamp;
}

const std::string kBackupSuffix = ".bak";
const std::string kDamagedSuffix = ".damaged";
// Far beyond any real play time, and far from overflowing while counting on.
constexpr int kMaxHours = 1000000;
constexpr std::size_t kMaxFileBytes = ProfileManager::kMaxFileBytes;
// The longest best time the puzzle screens show: 99:59:59.
constexpr int kMaxBestTime = 99 * 3600 + 59 * 60 + 59;
// What a file holds beyond the state puzzles.xml shapes is kept within ProfileBudget. The written file then
// stays below the read limit, with room for puzzles.xml's own sets and puzzles, and every save can succeed.
constexpr std::size_t kMaxExtraBytesPerProfile = ProfileBudget::kPerProfileBytes;
constexpr std::size_t kMaxExtraBytesOutsideProfiles = ProfileBudget::kOutsideProfilesBytes;
static_assert(ProfileList::kSlots * kMaxExtraBytesPerProfile + kMaxExtraBytesOutsideProfiles <=
                  kMaxFileBytes - 14u * 1024 * 1024,
              "eight profiles' worth of kept content leaves room for puzzles.xml's own");
// A file that held more than that is read again keeping this much less, so what the game adds before the
// next start (its script variables) still fits then, and the file is not cut a second time.
constexpr std::size_t kHeadroomAfterACut = 512u * 1024;
// The longest name the name entry takes.
constexpr std::size_t kMaxNameLength = 10;
const std::string kCutSuffix = ".cut";

// A name as the game can hold it: at most kMaxNameLength characters (the name entry's limit), none of them a
// control character or one the file cannot hold.
std::wstring KeepNameCharacters(const std::wstring& name)
{
    std::wstring kept;
    for (wchar_t c : KeepXmlCharacters(name)) {
        if (kept.size() >= kMaxNameLength)
            break;
        if (c >= L' ' && (c < 0x7F || c >= 0xA0))
            kept += c;
    }
    return kept;
}

// A stored name as the game can hold it; a name of nothing else stays a name ("?").
std::wstring ApplyNameRule(const std::wstring& name)
{
    std::wstring kept = KeepNameCharacters(name);
    if (kept.empty() && !name.empty())
        kept = L"?";
    return kept;
}

int AttributeInt(const XMLElement& element, const wchar_t* name)
{
    auto found = element.m_attributes.find(name);
    int value = 0;
    if (found != element.m_attributes.end())
        StringToInt(found->second, value);
    return value;
}

const std::wstring& AttributeText(const XMLElement& element, const wchar_t* name)
{
    static const std::wstring empty;
    auto found = element.m_attributes.find(name);
    return found == element.m_attributes.end() ? empty : found->second;
}

bool AttributeBool(const XMLElement& element, const wchar_t* name)
{
    const std::wstring& text = AttributeText(element, name);
    return text == L"true" || text == L"1";
}

// Fills a list of eight fresh slots from the elements of profiles.xml.
// Counters past the arrays make the elements below them ignored.
class ProfileReader : public XMLListener
{
public:
    // headroom: bytes of each budget left unused.
    ProfileReader(ProfileList& target, std::size_t headroom) : list(target), headroomUnits(headroom / 2) {}

    void Cut(const std::string& what)
    {
        if (list.cut.empty())
            list.cut = what;
    }

    void OnXMLElement(const XMLElement& element) override
    {
        if (captureDepth > 0) {
            Capture(element);
            return;
        }
        if (element.m_kind != XMLElement::Kind::Start)
            return;
        if (element.m_section.empty()) {
            // Only the root says whether this is a profiles file at all.
            rootIsProfiles = element.m_name == L"profiles";
            if (rootIsProfiles) {
                const int selected = AttributeInt(element, L"selected");
                list.selected = list.IsValidSlot(selected) ? selected : -1;
                list.otherAttributes = KeptAttributes(element, {L"selected"}, Budget::OutsideProfiles);
            }
            return;
        }
        if (!rootIsProfiles)
            return;
        const std::size_t slash = element.m_section.rfind(L'/');
        const std::wstring parent =
            slash == std::wstring::npos ? element.m_section : element.m_section.substr(slash + 1);
        if (IsKnown(parent, element.m_name))
            Start(element);
        else
            BeginCapture(parent, element);
    }

    bool RootIsProfiles() const { return rootIsProfiles; }
    // Something was left out for want of room.
    bool OverBudget() const { return overBudget; }

private:
    enum class Budget
    {
        Profile,
        OutsideProfiles
    };

    static bool IsKnown(const std::wstring& parent, const std::wstring& name)
    {
        return (parent == L"profiles" && name == L"profile") || (parent == L"profile" && name == L"state") ||
               (parent == L"state" && (name == L"mode" || name == L"property")) ||
               (parent == L"mode" && name == L"set") || (parent == L"set" && name == L"puzzle");
    }

    // Room left for content beyond what puzzles.xml shapes, in UTF-16 units as written.
    std::size_t Room(Budget budget) const
    {
        return budget == Budget::Profile
                   ? kMaxExtraBytesPerProfile / 2 - headroomUnits - keptInProfile
                   : kMaxExtraBytesOutsideProfiles / 2 - headroomUnits - keptOutsideProfiles;
    }

    // Takes units from the budget when they fit; otherwise notes what was left out.
    bool Keep(std::size_t units, Budget budget, const std::string& what)
    {
        if (units > Room(budget)) {
            Cut(what + " than the game keeps");
            overBudget = true;
            return false;
        }
        (budget == Budget::Profile ? keptInProfile : keptOutsideProfiles) += units;
        return true;
    }

    XMLAttributes KeptAttributes(const XMLElement& element, std::initializer_list<const wchar_t*> known,
                                 Budget budget = Budget::Profile)
    {
        XMLAttributes other = UnknownAttributes(element.m_attributes, known);
        if (!other.empty() &&
            !Keep(WrittenXmlAttributesLength(other), budget, "more attributes of a newer version"))
            other.clear();
        return other;
    }

    // An element this version does not know is kept whole, as XML text, with the nearest record that
    // writes such text back (a child of a puzzle or a property goes with its set or state).
    void BeginCapture(const std::wstring& parent, const XMLElement& element)
    {
        captureTarget = nullptr;
        if (parent == L"profiles")
            captureTarget = &list.otherElements;
        else if (parent == L"profile" && record)
            captureTarget = &record->otherElements;
        else if ((parent == L"state" || parent == L"property") && state)
            captureTarget = &state->otherElements;
        else if (parent == L"mode" && state && modeCounter >= 0 && modeCounter < PlayerState::kModeCount)
            captureTarget = &state->modeElements[modeCounter];
        else if ((parent == L"set" || parent == L"puzzle") && set)
            captureTarget = &set->otherElements;
        captureBudget = captureTarget == &list.otherElements ? Budget::OutsideProfiles : Budget::Profile;
        captureTooLarge = captureTarget == nullptr;
        captured.clear();
        capturedLength = 0;
        Capture(element);
    }

    // Grows the captured text only while it fits the budget: past it, the rest of the element is only
    // walked to its end, never held.
    void Capture(const XMLElement& element)
    {
        std::size_t length = 0;
        switch (element.m_kind) {
        case XMLElement::Kind::Start:
            ++captureDepth;
            length = Utf16Length(element.m_name) + WrittenXmlAttributesLength(element.m_attributes) + 2;
            break;
        case XMLElement::Kind::Text:
            length = EscapedXmlAttributeLength(element.m_text);
            break;
        case XMLElement::Kind::End:
            --captureDepth;
            length = Utf16Length(element.m_name) + 3;
            break;
        case XMLElement::Kind::None:
            break;
        }
        if (!captureTooLarge && length > Room(captureBudget) - capturedLength) {
            captureTooLarge = true;
            captured = std::wstring();
        }
        if (!captureTooLarge) {
            capturedLength += length;
            switch (element.m_kind) {
            case XMLElement::Kind::Start:
                captured += L"<" + element.m_name + WriteXmlAttributes(element.m_attributes) + L">";
                break;
            case XMLElement::Kind::Text:
                captured += EscapeXmlAttribute(element.m_text);
                break;
            case XMLElement::Kind::End:
                captured += L"</" + element.m_name + L">";
                break;
            case XMLElement::Kind::None:
                break;
            }
        }
        if (captureDepth > 0)
            return;
        if (!captureTooLarge && Keep(capturedLength, captureBudget, "more elements of a newer version")) {
            *captureTarget += captured;
        } else if (captureTarget) {
            Cut("more elements of a newer version than the game keeps");
            overBudget = true;
        }
        captured.clear();
    }

    void Start(const XMLElement& element)
    {
        const std::wstring& name = element.m_name;
        if (name == L"profile") {
            ++profileCounter;
            record = list.IsValidSlot(profileCounter) ? &list.records[profileCounter] : nullptr;
            state = nullptr;
            keptInProfile = 0;
            if (record) {
                const std::wstring& stored = AttributeText(element, L"name");
                record->name = ApplyNameRule(stored);
                if (record->name != stored)
                    Cut("a name longer than " + std::to_string(kMaxNameLength) +
                        " characters or with control characters");
                record->otherAttributes = KeptAttributes(element, {L"name"});
            } else if (profileCounter == ProfileList::kSlots) {
                Cut("more than " + std::to_string(ProfileList::kSlots) + " profiles");
            }
        } else if (name == L"state") {
            state = record ? &record->state : nullptr;
            if (state)
                ReadState(element);
            modeCounter = -1;
            set = nullptr;
        } else if (name == L"mode") {
            ++modeCounter;
            setCounter = -1;
            set = nullptr;
            if (state && modeCounter < PlayerState::kModeCount)
                state->modeAttributes[modeCounter] = KeptAttributes(element, {});
        } else if (name == L"set") {
            ReadSet(element);
        } else if (name == L"puzzle") {
            ReadPuzzle(element);
        } else if (name == L"property" && state) {
            ReadProperty(element);
        }
    }

    void ReadState(const XMLElement& element)
    {
        state->started = AttributeBool(element, L"started");
        state->madeMistake = AttributeInt(element, L"made-mistake") != 0;
        state->seenHint = AttributeInt(element, L"seen-hint") != 0;
        state->disableTips = AttributeInt(element, L"disable-tips") != 0;
        state->toggleMode = AttributeInt(element, L"toggle-mode") != 0;
        state->showNumbers = AttributeInt(element, L"show-numbers") != 0;
        state->currentCountry = std::clamp(AttributeInt(element, L"current-country"), 0, 12);
        state->currentMode =
            std::clamp(AttributeInt(element, L"current-mode"), 0, PlayerState::kModeCount - 1);
        // Play time only counts up from here: keep it where counting cannot overflow.
        state->hours = std::clamp(AttributeInt(element, L"hours"), 0, kMaxHours);
        state->minutes = std::clamp(AttributeInt(element, L"minutes"), 0, 59);
        state->centiseconds = std::clamp(AttributeInt(element, L"centiseconds"), 0, 5999);
        state->otherAttributes =
            KeptAttributes(element, {L"started", L"made-mistake", L"seen-hint", L"disable-tips",
                                     L"toggle-mode", L"show-numbers", L"current-country", L"current-mode",
                                     L"hours", L"minutes", L"centiseconds"});
    }

    void ReadSet(const XMLElement& element)
    {
        set = nullptr;
        if (!state || modeCounter < 0 || modeCounter >= PlayerState::kModeCount)
            return;
        ++setCounter;
        puzzleCounter = -1;
        std::vector<SetProgress>& sets = state->progress[modeCounter];
        if (setCounter < static_cast<int>(sets.size())) {
            set = &sets[setCounter];
            // One past the last puzzle is what finishing the last puzzle leaves.
            set->unlock =
                std::clamp(AttributeInt(element, L"unlock"), 0, static_cast<int>(set->puzzles.size()) + 1);
            set->introduced = AttributeInt(element, L"introduced") != 0;
            set->otherAttributes = KeptAttributes(element, {L"unlock", L"introduced"});
        } else if (setCounter == static_cast<int>(sets.size()) &&
                   Keep(ProfileBudget::kSetUnits, Budget::Profile, "more sets")) {
            // A set that the puzzle table no longer has: kept, but closed.
            sets.emplace_back();
            set = &sets.back();
        }
    }

    void ReadPuzzle(const XMLElement& element)
    {
        if (!set)
            return;
        ++puzzleCounter;
        const int known = static_cast<int>(set->puzzles.size());
        // Puzzles past the set's are kept and written back, as far as the budget goes.
        if (puzzleCounter > known ||
            (puzzleCounter == known && !Keep(ProfileBudget::kPuzzleUnits, Budget::Profile, "more puzzles")))
            return;
        if (puzzleCounter == known)
            set->puzzles.emplace_back();
        PuzzleProgress& puzzle = set->puzzles[puzzleCounter];
        puzzle.completed = AttributeInt(element, L"completed") != 0;
        puzzle.bestTime = std::clamp(AttributeInt(element, L"best-time"), 0, kMaxBestTime);
        puzzle.withoutHints = AttributeInt(element, L"without-hints") != 0;
        puzzle.withoutMistakes = AttributeInt(element, L"without-mistakes") != 0;
        puzzle.otherAttributes =
            KeptAttributes(element, {L"completed", L"best-time", L"without-hints", L"without-mistakes"});
    }

    void ReadProperty(const XMLElement& element)
    {
        const std::wstring& propertyName = AttributeText(element, L"name");
        const std::wstring& type = AttributeText(element, L"type");
        const std::wstring& value = AttributeText(element, L"value");
        if (type != L"bool" && type != L"int" && type != L"float" && type != L"string")
            return;
        XMLAttributes other = UnknownAttributes(element.m_attributes, {L"name", L"type", L"value"});
        if (!Keep(BasicPlayerState::PropertyUnits(propertyName, value, other), Budget::Profile,
                  "more properties") ||
            !state->ReadProperty(propertyName, type, value))
            return;
        if (other.empty())
            state->propertyAttributes.erase(propertyName);
        else
            state->propertyAttributes[propertyName] = std::move(other);
    }

    ProfileList& list;
    ProfileRecord* record{nullptr};
    PlayerState* state{nullptr};
    SetProgress* set{nullptr};
    int profileCounter{-1};
    int modeCounter{-1};
    int setCounter{-1};
    int puzzleCounter{-1};
    bool rootIsProfiles{false};
    const std::size_t headroomUnits;
    bool overBudget{false};
    // What is kept beyond the shaped state so far, in UTF-16 units as written.
    std::size_t keptInProfile{0};
    std::size_t keptOutsideProfiles{0};
    int captureDepth{0};
    std::wstring captured;
    std::size_t capturedLength{0};
    std::wstring* captureTarget{nullptr};
    Budget captureBudget{Budget::Profile};
    bool captureTooLarge{false};
};

bool FileExists(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0;
}

enum class ReadOutcome
{
    Read,
    Missing,
    NotAFile,
    TooLarge,
    Failed
};

// Reads a regular file of at most kMaxFileBytes; never blocks on a FIFO or a device.
ReadOutcome ReadWholeFile(const std::string& path, std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? ReadOutcome::Missing : ReadOutcome::Failed;
    struct stat info
    {
    };
    ReadOutcome outcome = ReadOutcome::Read;
    if (::fstat(fd, &info) != 0)
        outcome = ReadOutcome::Failed;
    else if (!S_ISREG(info.st_mode))
        outcome = ReadOutcome::NotAFile;
    else if (static_cast<std::uint64_t>(info.st_size) > kMaxFileBytes)
        outcome = ReadOutcome::TooLarge;
    bytes.clear();
    char buffer[65536];
    while (outcome == ReadOutcome::Read) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            outcome = ReadOutcome::Failed;
        else if (count == 0)
            break;
        else if (bytes.size() + static_cast<std::size_t>(count) > kMaxFileBytes)
            outcome = ReadOutcome::TooLarge;
        else
            bytes.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(fd);
    return outcome;
}

void Log(const std::string& text)
{
    LogWriter::WriteLine("Profiles: " + text);
}

// The new file is complete and on disk before it replaces the old one, and
// the old one stays as the backup, so a crash at any point leaves a whole
// profiles.xml (or, before the very first save, none).
bool ReplaceFileKeepingBackup(const std::string& path, const std::string& bytes, std::size_t limit,
                              std::string& error)
{
    AtomicFile file(path);
    file.SetWriteLimit(limit);
    file.SetBeforeReplace([&path] {
        // The backup is a copy of the file about to be replaced, and only when that file is a good
        // profiles file: a damaged one never takes the place of the last good backup.
        std::string current;
        if (ReadWholeFile(path, current) != ReadOutcome::Read)
            return;
        ProfileList check;
        std::string reason;
        if (!ProfileManager::ParseProfiles(current, check, reason)) {
            Log(path + " is not a good profiles file (" + reason + "); the backup stays as it was");
            return;
        }
        AtomicFile backup(path + kBackupSuffix);
        backup.SetModeFrom(path);
        if (!backup.Write(current))
            Log("could not keep a backup: " + backup.GetError());
    });
    if (file.Write(bytes))
        return true;
    error = file.GetError();
    // A write stopped on purpose (tests) is not worth a line in the log.
    if (limit >= bytes.size())
        Log(error);
    return false;
}

// Holds an advisory lock on the data folder while profiles are saved, so two games saving at once take
// turns instead of interleaving their backups and replacements. Without a lock (a folder that cannot be
// opened) the save goes on: every step is still atomic on its own.
class ProfilesLock
{
public:
    explicit ProfilesLock(const std::string& profilesPath)
    {
        std::string folder = GetFileDir(profilesPath);
        if (folder.empty())
            folder = ".";
        m_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~ProfilesLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ProfilesLock(const ProfilesLock&) = delete;
    ProfilesLock& operator=(const ProfilesLock&) = delete;

private:
    int m_fd{-1};
};

// Renames a damaged file to the first free "<path>.damaged", ".damaged1", ...
bool KeepAside(const std::string& path)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string aside = path + kDamagedSuffix + (attempt ? std::to_string(attempt) : std::string());
        if (FileExists(aside))
            continue;
        if (::rename(path.c_str(), aside.c_str()) != 0)
            return false;
        Log(path + " is damaged; kept as " + aside);
        return true;
    }
    return false;
}

// Copies a file whose contents the game could not keep whole to the first free "<path>.cut",
// ".cut1", ...; the copy keeps what the reader left out.
void CopyAside(const std::string& path, const std::string& bytes, const std::string& why)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string aside = path + kCutSuffix + (attempt ? std::to_string(attempt) : std::string());
        if (FileExists(aside))
            continue;
        AtomicFile copy(aside);
        copy.SetModeFrom(path);
        if (copy.Write(bytes))
            Log(path + " held " + why + "; the game keeps what it can, the whole file is kept as " + aside);
        else
            Log(path + " held " + why + "; could not keep a copy: " + copy.GetError());
        return;
    }
}

// A profile's state element as a save writes it: its script variables only as far as its budget leaves
// them room.
std::wstring WrittenState(const ProfileRecord& record,
                          std::vector<BasicPlayerState::LeftOut>* leftOut = nullptr)
{
    return record.state.Write(ProfileBudget::PropertyRoom(record), leftOut);
}

void Synchronized(const ProfileList& list, const std::string& path)
{
    gSyncedStamp = StampOf(path);
    gSynced.assign(list.records.size(), {});
    for (std::size_t slot = 0; slot < list.records.size(); ++slot) {
        if (!list.records[slot].name.empty())
            gSynced[slot] = {list.records[slot].name, WrittenState(list.records[slot])};
    }
}

void TellPlayerName(const std::wstring& name)
{
    if (gEnvironment.playerNameChanged)
        gEnvironment.playerNameChanged(name);
}

// A profile this game had in a slot when it last read or wrote the file, still there and not played since,
// that no profile on disk stands for (taken), was deleted or renamed by the other game: it stays deleted
// here too. The current player's state stays where it is (screens may hold references into it); its slot
// only loses its name.
void KeepDeletionsFromDisk(const std::vector<bool>& taken)
{
    std::vector<ProfileRecord>& ours = gProfileList.records;
    for (std::size_t slot = 0; slot < ours.size() && slot < gSynced.size() && slot < taken.size(); ++slot) {
        ProfileRecord& record = ours[slot];
        if (taken[slot] || record.name.empty() || gSynced[slot].name != record.name ||
            WrittenState(record) != gSynced[slot].state)
            continue;
        Log("the profile \"" + WStringToString(record.name) + "\" another game deleted stays deleted");
        if (static_cast<int>(slot) != gProfileList.selected) {
            ProfileManager::SetProfile(static_cast<int>(slot), std::wstring());
            continue;
        }
        record.name.clear();
        record.otherAttributes.clear();
        record.otherElements.clear();
        TellPlayerName(record.name);
    }
}

// A profile another game added joins this list in its own slot, or the first free one; false when none is
// free. The current player's slot is never free for it, even without a name: its state stays this game's.
bool TakeAddedProfile(const ProfileRecord& theirs, std::size_t slot)
{
    std::vector<ProfileRecord>& ours = gProfileList.records;
    auto isFree = [&ours](std::size_t at) {
        return ours[at].name.empty() && static_cast<int>(at) != gProfileList.selected;
    };
    std::size_t free = isFree(slot) ? slot : ours.size();
    for (std::size_t other = 0; free == ours.size() && other < ours.size(); ++other)
        if (isFree(other))
            free = other;
    if (free == ours.size())
        return false;
    ours[free].name = theirs.name;
    ours[free].state = theirs.state;
    ours[free].otherAttributes = theirs.otherAttributes;
    ours[free].otherElements = theirs.otherElements;
    // The slot now holds the profile as the file does: a later merge follows it there.
    if (free < gSynced.size())
        gSynced[free] = {theirs.name, WrittenState(ours[free])};
    Log("kept the profile another game added in this folder");
    return true;
}

// Another game on the same data folder may have saved since this one last read or wrote the file. Its
// profiles come into this list before this game writes, so neither game drops what the other added. A
// profile on disk is the one of the same name in the same slot here; only when that slot holds another
// name is it looked for by name, to follow a profile that a merge placed in another slot (so two profiles
// of one name stay two profiles):
// - a profile on disk that is not here, and that this game did not have in a slot it has since freed or
//   renamed, was added by the other game: it takes its slot here, or the first free one (none free: the
//   disk file is kept aside);
// - a profile this game had and no longer has was deleted or renamed here: it stays deleted;
// - a profile this game had and still has, that the disk no longer has, was deleted or renamed by the other
//   game: it stays deleted unless this game played it since (then its progress is kept);
// - a profile in both keeps this game's state, unless this game has not changed it since and it is not this
//   game's current player, when it takes the other game's (so a game that is only open does not undo the
//   other's progress).
// States are assigned in place, so pointers to them stay valid.
void MergeFromDisk(const std::string& path)
{
    if (StampOf(path) == gSyncedStamp)
        return;
    std::string bytes;
    if (ReadWholeFile(path, bytes) != ReadOutcome::Read)
        return;
    ProfileList disk;
    std::string reason;
    if (!ProfileManager::ParseProfiles(bytes, disk, reason))
        return;
    std::vector<ProfileRecord>& ours = gProfileList.records;
    const std::size_t slots = std::min(ours.size(), disk.records.size());
    // For each disk slot, the slot here that holds the same profile (-1: none); each slot here is taken once.
    std::vector<int> partner(slots, -1);
    std::vector<bool> taken(ours.size(), false);
    for (std::size_t slot = 0; slot < slots; ++slot) {
        if (!disk.records[slot].name.empty() && ours[slot].name == disk.records[slot].name) {
            partner[slot] = static_cast<int>(slot);
            taken[slot] = true;
        }
    }
    // A profile this game had in another slot when it last read or wrote the file has moved there.
    for (std::size_t slot = 0; slot < slots; ++slot) {
        const std::wstring& name = disk.records[slot].name;
        for (std::size_t here = 0; partner[slot] < 0 && !name.empty() && here < ours.size(); ++here) {
            if (!taken[here] && ours[here].name == name && here < gSynced.size() &&
                gSynced[here].name == name) {
                partner[slot] = static_cast<int>(here);
                taken[here] = true;
            }
        }
    }
    // A slot this game had a profile in, and has freed or renamed since, accounts for that profile on disk
    // (in its own slot first), once.
    std::vector<bool> accounted(gSynced.size(), false);
    auto hadHere = [&](std::size_t slot, const std::wstring& name) {
        auto lost = [&](std::size_t at) {
            return at < gSynced.size() && !accounted[at] && gSynced[at].name == name &&
                   (at >= ours.size() || ours[at].name != name);
        };
        std::size_t at = slot;
        if (!lost(at)) {
            for (at = 0; at < gSynced.size() && !lost(at);)
                ++at;
            if (at == gSynced.size())
                return false;
        }
        accounted[at] = true;
        return true;
    };
    // Slots freed here may take the other game's profiles in their own slots.
    KeepDeletionsFromDisk(taken);
    std::vector<std::size_t> added;
    for (std::size_t slot = 0; slot < slots; ++slot) {
        ProfileRecord& theirs = disk.records[slot];
        if (theirs.name.empty())
            continue;
        if (partner[slot] < 0) {
            if (!hadHere(slot, theirs.name))
                added.push_back(slot);
            continue;
        }
        const std::size_t here = static_cast<std::size_t>(partner[slot]);
        const std::wstring diskState = WrittenState(theirs);
        SyncedSlot* synced =
            here < gSynced.size() && gSynced[here].name == ours[here].name ? &gSynced[here] : nullptr;
        // The current player's state stays this game's: screens may hold references into it.
        const bool current = static_cast<int>(here) == gProfileList.selected;
        if (!current && synced && WrittenState(ours[here]) == synced->state && diskState != synced->state) {
            ours[here].state = theirs.state;
            synced->state = diskState;
        }
    }
    for (std::size_t slot : added) {
        if (!TakeAddedProfile(disk.records[slot], slot))
            CopyAside(path, bytes, "a profile another game added while all slots here are taken");
    }
}

// A name as the log shows it: a script may make one of any length.
std::string ShortForLog(const std::wstring& text)
{
    constexpr std::size_t kShown = 40;
    return text.size() <= kShown ? WStringToString(text)
                                 : WStringToString(text.substr(0, kShown)) + "... (" +
                                       std::to_string(text.size()) + " characters)";
}

// Each script variable a save leaves out is logged once a run, up to a few; a script that makes ever more
// of them does not flood the log.
void TellLeftOut(const std::vector<ProfileManager::LeftOutVariable>& leftOut)
{
    constexpr std::size_t kMostNamed = 20;
    for (const ProfileManager::LeftOutVariable& variable : leftOut) {
        const auto key = std::make_pair(variable.profile, variable.name);
        if (gToldManyLeftOut || gToldLeftOut.count(key) != 0)
            continue;
        if (gToldLeftOut.size() == kMostNamed) {
            gToldManyLeftOut = true;
            Log("more script variables are too large to save; they are not each named here");
            continue;
        }
        gToldLeftOut.insert(key);
        Log("the script variable \"" + ShortForLog(variable.name) + "\" of the player \"" +
            ShortForLog(variable.profile) + "\" is not saved: in profiles.xml it would take " +
            std::to_string(variable.bytes) + " bytes, more than the " +
            std::to_string(ProfileBudget::kPerProfileBytes) +
            " a profile keeps beside its progress (it stays set until the game ends)");
    }
}

void TellSaveFailed(const std::string& path, const std::string& reason)
{
    if (gSaveFailureTold)
        return;
    gSaveFailureTold = true;
    std::string folder = GetFileDir(path);
    if (folder.empty())
        folder = ".";
    Log("progress cannot be saved in " + folder + ": " + reason);
    if (gEnvironment.saveFailed)
        gEnvironment.saveFailed(folder, reason);
}

void ResetList(ProfileList& list)
{
    list.records.clear();
    list.records.resize(ProfileList::kSlots);
    list.selected = -1;
}

// Moves a freshly read list into the global one, keeping the states where
// they are so that pointers to them stay valid.
void AdoptList(ProfileList& loaded)
{
    if (gProfileList.records.size() != loaded.records.size())
        gProfileList.records.resize(loaded.records.size());
    for (std::size_t slot = 0; slot < loaded.records.size(); ++slot) {
        gProfileList.records[slot].name = std::move(loaded.records[slot].name);
        gProfileList.records[slot].state = loaded.records[slot].state;
        gProfileList.records[slot].otherAttributes = std::move(loaded.records[slot].otherAttributes);
        gProfileList.records[slot].otherElements = std::move(loaded.records[slot].otherElements);
    }
    gProfileList.selected = loaded.selected;
    gProfileList.otherAttributes = std::move(loaded.otherAttributes);
    gProfileList.otherElements = std::move(loaded.otherElements);
}

bool IsScreensaver()
{
    return gEnvironment.screensaver;
}

void AfterSave()
{
    if (gEnvironment.afterSave)
        gEnvironment.afterSave();
}

} // namespace

ProfileManager::ProfileManager()
{
    ResetList(gProfileList);
    ProfileList loaded;
    ResetList(loaded);

    const std::string path = GetProfilesPath();
    if (const int removed = AtomicFile::RemoveStaleTemporaries(path))
        Log("removed " + std::to_string(removed) + " temporary files left by an interrupted save");
    gLastLoad = LoadResult::NoFile;
    if (FileExists(path)) {
        if (ReadProfilesFile(path, loaded)) {
            gLastLoad = LoadResult::Loaded;
            if (!loaded.cut.empty()) {
                std::string bytes;
                if (ReadWholeFile(path, bytes) == ReadOutcome::Read)
                    CopyAside(path, bytes, loaded.cut);
            }
        } else {
            gSavingBlocked = !KeepAside(path);
            if (gSavingBlocked)
                Log("cannot keep the damaged " + path + " aside; profiles will not be saved");
            if (ReadProfilesFile(path + kBackupSuffix, loaded)) {
                gLastLoad = LoadResult::LoadedBackup;
                Log("read the backup " + path + kBackupSuffix);
            } else {
                gLastLoad = LoadResult::DamagedStartedEmpty;
                Log("no usable backup; starting without profiles");
            }
        }
    } else if (ReadProfilesFile(path + kBackupSuffix, loaded)) {
        // profiles.xml was kept aside as damaged and nothing was saved since.
        gLastLoad = LoadResult::LoadedBackup;
        Log("profiles.xml is missing; read the backup " + path + kBackupSuffix);
    }
    AdoptList(loaded);
    SelectProfile(gProfileList.selected);
    // Selecting names the player in the state: that is not play, not a change to merge as one.
    Synchronized(gProfileList, path);
}

const ProfileEnvironment& ProfileManager::GetEnvironment()
{
    return gEnvironment;
}

void ProfileManager::SetEnvironment(ProfileEnvironment environment)
{
    gEnvironment = std::move(environment);
    gSavingBlocked = false;
    gSaveFailureTold = false;
    gToldLeftOut.clear();
    gToldManyLeftOut = false;
}

void ProfileManager::SelectProfile(int index)
{
    if (index < 0 || !gProfileList.IsValidSlot(index))
        return;
    gProfileList.selected = index;
    ProfileRecord& record = gProfileList.records[index];
    record.state.MakeCurrent();
    TellPlayerName(record.name);
    record.state.properties[L"player_name"] = Value(record.name);
}

void ProfileManager::SetProfile(int slot, const std::wstring& name)
{
    if (!gProfileList.IsValidSlot(slot))
        return;
    // A name is kept only as far as a name read back is (however it reached here, a long one cannot cover the
    // menus or grow the save); one with nothing left would read back as a free slot, so it is refused and
    // the slot stays as it was.
    const std::wstring kept = KeepNameCharacters(name);
    if (kept.empty() && !name.empty()) {
        Log("refused a profile name made only of characters a name cannot hold");
        return;
    }
    ProfileRecord& record = gProfileList.records[slot];
    if (record.name == kept)
        return;
    record.name = kept;
    record.otherAttributes.clear();
    record.otherElements.clear();
    record.state = PlayerState();
    if (slot == gProfileList.selected)
        TellPlayerName(kept);
}

int ProfileManager::CreateProfile(const std::wstring& name)
{
    if (KeepNameCharacters(name).empty() && !name.empty()) {
        Log("refused a profile name made only of characters a name cannot hold");
        return -1;
    }
    if (gProfileList.records.empty())
        ResetList(gProfileList);
    int slot = static_cast<int>(gProfileList.records.size()) - 1;
    for (int i = 0; i < static_cast<int>(gProfileList.records.size()); ++i) {
        if (gProfileList.records[i].name.empty()) {
            slot = i;
            break;
        }
    }
    SetProfile(slot, name);
    SelectProfile(slot);
    return slot;
}

void ProfileManager::ClearProfiles()
{
    gSynced.clear();
    gSyncedStamp = {};
    gProfileList.records.clear();
    gProfileList.selected = -1;
    gCurrentPlayerState = nullptr;
}

std::wstring ProfileManager::FormatProfiles(const ProfileList& list, std::vector<LeftOutVariable>* leftOut)
{
    std::wstring text =
        StrFormatW(L"<profiles selected=\"%d\"%s>", list.selected, WriteXmlAttributes(list.otherAttributes));
    std::vector<BasicPlayerState::LeftOut> leftOutHere;
    for (const ProfileRecord& record : list.records) {
        // A named profile never comes out as a free slot, whatever its name holds.
        text += StrFormatW(L"<profile name=\"%s\"%s>", EscapeXmlName(record.name),
                           WriteXmlAttributes(record.otherAttributes));
        leftOutHere.clear();
        text += WrittenState(record, &leftOutHere);
        for (const BasicPlayerState::LeftOut& variable : leftOutHere) {
            if (leftOut)
                leftOut->push_back({record.name, variable.name, variable.units * 2});
        }
        text += record.otherElements;
        text += L"</profile>";
    }
    text += list.otherElements;
    text += L"</profiles>";
    return text;
}

bool ProfileManager::ReadProfilesFile(const std::string& path, ProfileList& list)
{
    std::string bytes;
    switch (ReadWholeFile(path, bytes)) {
    case ReadOutcome::Read:
        break;
    case ReadOutcome::Missing:
        return false;
    case ReadOutcome::NotAFile:
        Log(path + " is not a regular file");
        return false;
    case ReadOutcome::TooLarge:
        Log(path + " is larger than any profiles file");
        return false;
    case ReadOutcome::Failed:
        Log("cannot read " + path + ": " + std::strerror(errno));
        return false;
    }
    std::string reason;
    if (!ParseProfiles(bytes, list, reason)) {
        Log(path + ": " + reason);
        return false;
    }
    return true;
}

bool ProfileManager::ParseProfiles(const std::string& bytes, ProfileList& list, std::string& reason)
{
    ProfileList scratch;
    ResetList(scratch);
    ProfileReader reader(scratch, 0);
    XMLParser parser;
    if (!parser.Parse(bytes, reader)) {
        reason = parser.GetErrorText() + " on line " + std::to_string(parser.GetErrorLine());
        return false;
    }
    if (!reader.RootIsProfiles()) {
        reason = "the root element is not profiles";
        return false;
    }
    if (reader.OverBudget()) {
        ProfileList kept;
        ResetList(kept);
        ProfileReader again(kept, kHeadroomAfterACut);
        if (parser.Parse(bytes, again))
            scratch = std::move(kept);
    }
    list = std::move(scratch);
    return true;
}

ProfileManager::LoadResult ProfileManager::LastLoadResult()
{
    return gLastLoad;
}

std::string GetProfilesPath()
{
    const std::string folder = gEnvironment.dataFolder.empty() ? GetAppDataFolder() : gEnvironment.dataFolder;
    const std::string path = folder + "profiles.xml";
    GrantEveryoneAccess(path);
    return path;
}

bool SaveProfiles()
{
    if (gProfileList.records.empty() || IsScreensaver())
        return false;
    const std::string path = GetProfilesPath();
    if (gSavingBlocked) {
        TellSaveFailed(path, "profiles.xml is damaged and could not be kept aside");
        return false;
    }
    bool saved = false;
    std::string error;
    {
        ProfilesLock lock(path);
        MergeFromDisk(path);
        std::vector<ProfileManager::LeftOutVariable> leftOut;
        const std::string bytes =
            "\xFF\xFE" + WStringToUtf16LE(ProfileManager::FormatProfiles(gProfileList, &leftOut));
        TellLeftOut(leftOut);
        if (bytes.size() > kMaxFileBytes) {
            // It could not be read back: the file on disk stays the last good one.
            error = "the profiles have grown larger than the game reads back";
            Log(error);
        } else {
            saved = ReplaceFileKeepingBackup(path, bytes, gEnvironment.failWriteAfter, error);
        }
        if (saved)
            Synchronized(gProfileList, path);
    }
    AfterSave();
    // A write stopped on purpose (tests) is not a failure to tell the player about.
    if (!saved && gEnvironment.failWriteAfter == std::numeric_limits<std::size_t>::max())
        TellSaveFailed(path, error);
    return saved;
}

PlayerState* GetCurrentPlayerState()
{
    if (!gProfileList.IsValidSlot(gProfileList.selected))
        return nullptr;
    return &gProfileList.records[gProfileList.selected].state;
}

void SetProfileNameChecked(int slot, const std::wstring& name)
{
    if (slot >= 0 && slot < ProfileList::kSlots)
        ProfileManager::SetProfile(slot, name);
}
