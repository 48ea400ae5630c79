#pragma once

#include "resources/AssetLoaders.h"
#include "resources/ResourceSet.h"

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class Image;

// The registry of named images, sounds, music, voices and ambience of properties/assets.xml (format in
// docs/assets.md). Entries belong to groups that load at start-up ("init"), on the loading thread
// ("thread") or on demand ("demand"). Ids are given when an entry is registered and never change;
// whether an entry is loaded is kept apart, so an image pointer handed out stays valid when the image
// is unloaded (it then holds no pixels) and is reused when it loads again.
// Every table has its own lock; loads and unloads are serialised among themselves.
class Assets
{
public:
    enum class Kind
    {
        Image,
        Sound,
        Music,
        Voice,
        Ambience
    };
    enum class GroupLoad
    {
        Init,
        Thread,
        Demand
    };

    Assets() = default;
    ~Assets();
    Assets(const Assets&) = delete;
    Assets& operator=(const Assets&) = delete;

    // The registry of the running game.
    static Assets& Get();

    void SetImageLoaders(std::function<Image*(const ImageSource&, Image*)> load,
                         std::function<void(Image*)> unload, std::function<void(Image*)> destroy);
    void SetSoundLoaders(std::function<bool(int, const std::string&)> load, std::function<void(int)> release);
    // kind: Music, Voice or Ambience.
    void SetSongLoaders(Kind kind, std::function<bool(int, const std::string&)> load,
                        std::function<void(int)> unload);

    // Registers every entry of the file (again: known names keep their ids). False when the file could
    // not be read.
    bool ReadFile(const std::string& fileName = "assets.xml");
    // Loads every group of that load kind.
    void LoadGroups(GroupLoad load, const std::atomic<bool>* stopRequested = nullptr);
    // Start-up: ReadFile, then the "init" groups. The loading thread: the "thread" groups.
    bool FirstPass(const std::string& fileName = "assets.xml");
    void FullPass(const std::atomic<bool>* stopRequested = nullptr);

    // Loads or unloads one group by name. Loading stops between entries once stopRequested is set.
    // False when no group has that name (or loading was stopped).
    bool LoadGroup(const std::wstring& name, const std::atomic<bool>* stopRequested = nullptr);
    void UnloadGroup(const std::wstring& name);
    bool HasGroup(const std::wstring& name) const;
    // The first folder of every registered file ("images" for images/ui/button): the folders an
    // installation must hold.
    std::set<std::string> GetFolders() const;
    std::vector<std::wstring> GetGroupNames() const;

    // Fills the record with the entries of the named group (its flag says whether the group exists).
    void PrepareGroupLoad(const std::wstring& setName, ResourceSet& record) const;
    // Set loading: first unloads the group releaseGroup names (when not empty), then loads the group
    // groupName (when not empty), then releases what the previous record loaded and this record does
    // not hold, then loads the record's entries; the stop flag is checked between entries. False when
    // stopped.
    bool LoadGroup(const std::wstring& groupName, const ResourceSet& record,
                   const std::atomic<bool>* stopRequested, const std::wstring& releaseGroup);

    // Images of that name may have cells of at most this side; larger ones are refused from their header,
    // before decoding (cursors). Set before the file that registers the name is read, or any time after.
    void SetImageMaxCellSide(const std::wstring& name, int maxSide);

    // Loads or unloads single entries.
    bool Load(Kind kind, const std::wstring& name);
    void Unload(Kind kind, const std::wstring& name);
    // Unloads everything (at exit); entries and image objects stay.
    void UnloadAll();
    // Unloads everything, destroys the image objects and forgets every entry, group and record.
    void Clear();

    // Look-ups by name. A name not in the table is inserted with an empty entry.
    // The image while it is loaded, else null.
    Image* GetImage(const std::wstring& name);
    // The name an image is registered under; empty for any other image.
    std::wstring FindImageName(const Image* image) const;
    // The id while loaded, else -1.
    int GetId(Kind kind, const std::wstring& name);
    // The id given at registration (loaded or not), else -1; no insertion.
    int GetRegisteredId(Kind kind, const std::wstring& name) const;
    bool IsLoaded(Kind kind, const std::wstring& name) const;

private:
    struct Entry
    {
        int m_id = -1;
        bool m_registered = false;
        bool m_loaded = false;
        std::string m_file;
        int m_cols = 1;
        int m_rows = 1;
        int m_atlas = -1; // index into m_atlases for an atlas piece
        int m_x = 0;
        int m_y = 0;
        int m_width = 0;
        int m_height = 0;
        int m_maxCellSide = 0;
        Image* m_image = nullptr;
    };
    struct Table
    {
        mutable std::mutex m_mutex;
        std::map<std::wstring, Entry> m_entries;
        int m_nextId = 0;
    };
    struct Atlas
    {
        std::string m_file;
        Image* m_image = nullptr;
        bool m_loaded = false;
        int m_loadedPieces = 0;
    };
    struct GroupEntry
    {
        Kind m_kind = Kind::Image;
        std::wstring m_name;
    };
    struct Group
    {
        GroupLoad m_load = GroupLoad::Demand;
        std::vector<GroupEntry> m_entries;
        // The same entries by kind and name, so registering and look-ups stay logarithmic.
        std::set<std::pair<Kind, std::wstring>> m_members;
    };

    friend class AssetsReader;

    Table& TableOf(Kind kind);
    const Table& TableOf(Kind kind) const;
    void Register(Kind kind, const std::wstring& name, const Entry& entry, const std::wstring& group);
    int AddAtlas(const std::string& file);
    bool LoadLocked(Kind kind, const std::wstring& name);
    void UnloadLocked(Kind kind, const std::wstring& name);
    bool LoadSet(const ResourceSet& set, const std::atomic<bool>* stopRequested);
    // Unloads the entries of the set that no loaded group and no current record still holds.
    void ReleaseSet(const ResourceSet& set);
    bool IsHeld(Kind kind, const std::wstring& name) const;
    ResourceSet GroupSet(const std::wstring& name) const;
    bool LoadNamedGroup(const std::wstring& name, const std::atomic<bool>* stopRequested);
    void UnloadNamedGroup(const std::wstring& name);

    Table m_images;
    Table m_sounds;
    Table m_music;
    Table m_voices;
    Table m_ambience;

    mutable std::mutex m_groupMutex;
    std::map<std::wstring, Group> m_groups;
    std::vector<Atlas> m_atlases;
    std::map<std::string, int> m_atlasIndex;

    // Held while loading or unloading, never while a look-up waits on a table lock.
    std::recursive_mutex m_loadMutex;
    AssetLoaders m_loaders;
    std::set<std::wstring> m_loadedGroups;
    ResourceSet m_recordLoaded;
};

// Look-ups in the registry of the running game.
Image* GetImage(const std::wstring& name);
int GetSoundId(const std::wstring& name);
int LookupMusicId(const std::wstring& name);
int LookupVoiceId(const std::wstring& name);
int LookupAmbienceId(const std::wstring& name);
