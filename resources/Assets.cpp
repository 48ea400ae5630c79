#include "resources/Assets.h"

#include "base/Common.h"
#include "base/LogWriter.h"
#include "resources/PakInterface.h"
#include "resources/Parser.h"

#include <algorithm>

namespace {

const std::set<std::wstring>& NamesOf(const ResourceSet& set, Assets::Kind kind)
{
    switch (kind) {
    case Assets::Kind::Image:
        return set.m_images;
    case Assets::Kind::Sound:
        return set.m_sounds;
    case Assets::Kind::Music:
        return set.m_music;
    case Assets::Kind::Voice:
        return set.m_voices;
    case Assets::Kind::Ambience:
        return set.m_ambience;
    }
    return set.m_images;
}

std::set<std::wstring>& NamesOf(ResourceSet& set, Assets::Kind kind)
{
    return const_cast<std::set<std::wstring>&>(NamesOf(static_cast<const ResourceSet&>(set), kind));
}

constexpr Assets::Kind kAllKinds[] = {Assets::Kind::Image, Assets::Kind::Sound, Assets::Kind::Music,
                                      Assets::Kind::Voice, Assets::Kind::Ambience};

std::string NarrowPath(const std::wstring& text)
{
    return NormalizePakPath(WStringToString(text));
}

} // namespace

// Registers the entries of properties/assets.xml.
class AssetsReader : public Parser
{
public:
    explicit AssetsReader(Assets& assets) : m_assets(assets) {}

protected:
    void HandleElementStart(const std::wstring& name) override
    {
        if (name == L"group") {
            m_group = GetAttribute(L"name");
            const std::wstring& load = GetAttribute(L"load");
            Assets::GroupLoad kind = load == L"init"     ? Assets::GroupLoad::Init
                                     : load == L"thread" ? Assets::GroupLoad::Thread
                                                         : Assets::GroupLoad::Demand;
            std::lock_guard lock(m_assets.m_groupMutex);
            m_assets.m_groups[m_group].m_load = kind;
            m_inGroup = true;
            return;
        }
        if (!m_inGroup) {
            return;
        }
        Assets::Entry entry;
        entry.m_file = NarrowPath(GetAttribute(L"file"));
        if (name == L"atlas") {
            m_atlas = m_assets.AddAtlas(entry.m_file);
        } else if (name == L"image") {
            entry.m_cols = CellCount(L"cols");
            entry.m_rows = CellCount(L"rows");
            m_assets.Register(Assets::Kind::Image, GetAttribute(L"name"), entry, m_group);
        } else if (name == L"piece" && m_atlas >= 0) {
            entry.m_file = m_assets.m_atlases[static_cast<size_t>(m_atlas)].m_file;
            entry.m_atlas = m_atlas;
            entry.m_x = GetAttributeInt(L"x");
            entry.m_y = GetAttributeInt(L"y");
            entry.m_width = GetAttributeInt(L"w");
            entry.m_height = GetAttributeInt(L"h");
            entry.m_cols = CellCount(L"cols");
            entry.m_rows = CellCount(L"rows");
            m_assets.Register(Assets::Kind::Image, GetAttribute(L"name"), entry, m_group);
        } else if (name == L"sound") {
            m_assets.Register(Assets::Kind::Sound, GetAttribute(L"name"), entry, m_group);
        } else if (name == L"music") {
            m_assets.Register(Assets::Kind::Music, GetAttribute(L"name"), entry, m_group);
        } else if (name == L"voice") {
            m_assets.Register(Assets::Kind::Voice, GetAttribute(L"name"), entry, m_group);
        } else if (name == L"ambience") {
            m_assets.Register(Assets::Kind::Ambience, GetAttribute(L"name"), entry, m_group);
        }
    }

    void HandleElementEnd(const std::wstring& name) override
    {
        if (name == L"group") {
            m_inGroup = false;
            m_group.clear();
        } else if (name == L"atlas") {
            m_atlas = -1;
        }
    }

private:
    // Images are cut into cells by these counts, so anything below one reads as one.
    int CellCount(const std::wstring& attribute) const
    {
        return std::max(1, GetAttributeIntDefault(attribute, 1));
    }

    Assets& m_assets;
    std::wstring m_group;
    bool m_inGroup = false;
    int m_atlas = -1;
};

Assets::~Assets()
{
    Clear();
}

Assets& Assets::Get()
{
    // Never destroyed: images belong to the renderer, which is gone by the time statics are destroyed.
    // The application empties the registry at shutdown instead.
    static Assets* assets = new Assets();
    return *assets;
}

void Assets::SetImageLoaders(std::function<Image*(const ImageSource&, Image*)> load,
                             std::function<void(Image*)> unload, std::function<void(Image*)> destroy)
{
    std::lock_guard lock(m_loadMutex);
    m_loaders.loadImage = std::move(load);
    m_loaders.unloadImage = std::move(unload);
    m_loaders.destroyImage = std::move(destroy);
}

void Assets::SetSoundLoaders(std::function<bool(int, const std::string&)> load,
                             std::function<void(int)> release)
{
    std::lock_guard lock(m_loadMutex);
    m_loaders.loadSound = std::move(load);
    m_loaders.releaseSound = std::move(release);
}

void Assets::SetSongLoaders(Kind kind, std::function<bool(int, const std::string&)> load,
                            std::function<void(int)> unload)
{
    std::lock_guard lock(m_loadMutex);
    if (kind == Kind::Music) {
        m_loaders.loadMusic = std::move(load);
        m_loaders.unloadMusic = std::move(unload);
    } else if (kind == Kind::Voice) {
        m_loaders.loadVoice = std::move(load);
        m_loaders.unloadVoice = std::move(unload);
    } else if (kind == Kind::Ambience) {
        m_loaders.loadAmbience = std::move(load);
        m_loaders.unloadAmbience = std::move(unload);
    }
}

Assets::Table& Assets::TableOf(Kind kind)
{
    return const_cast<Table&>(static_cast<const Assets*>(this)->TableOf(kind));
}

const Assets::Table& Assets::TableOf(Kind kind) const
{
    switch (kind) {
    case Kind::Image:
        return m_images;
    case Kind::Sound:
        return m_sounds;
    case Kind::Music:
        return m_music;
    case Kind::Voice:
        return m_voices;
    case Kind::Ambience:
        return m_ambience;
    }
    return m_images;
}

bool Assets::ReadFile(const std::string& fileName)
{
    std::lock_guard lock(m_loadMutex);
    AssetsReader reader(*this);
    return reader.LoadPropertiesFile(fileName);
}

void Assets::Register(Kind kind, const std::wstring& name, const Entry& entry, const std::wstring& group)
{
    if (name.empty()) {
        return;
    }
    {
        Table& table = TableOf(kind);
        std::lock_guard lock(table.m_mutex);
        Entry& stored = table.m_entries[name];
        if (!stored.m_registered) {
            stored.m_id = table.m_nextId++;
            stored.m_registered = true;
        }
        stored.m_file = entry.m_file;
        stored.m_cols = entry.m_cols;
        stored.m_rows = entry.m_rows;
        stored.m_atlas = entry.m_atlas;
        stored.m_x = entry.m_x;
        stored.m_y = entry.m_y;
        stored.m_width = entry.m_width;
        stored.m_height = entry.m_height;
    }
    std::lock_guard lock(m_groupMutex);
    Group& stored = m_groups[group];
    if (stored.m_members.emplace(kind, name).second) {
        stored.m_entries.push_back(GroupEntry{kind, name});
    }
}

int Assets::AddAtlas(const std::string& file)
{
    auto [found, added] = m_atlasIndex.emplace(file, static_cast<int>(m_atlases.size()));
    if (added) {
        m_atlases.push_back(Atlas{file, nullptr, false, 0});
    }
    return found->second;
}

bool Assets::FirstPass(const std::string& fileName)
{
    bool read = ReadFile(fileName);
    LoadGroups(GroupLoad::Init);
    return read;
}

void Assets::FullPass(const std::atomic<bool>* stopRequested)
{
    LoadGroups(GroupLoad::Thread, stopRequested);
}

void Assets::LoadGroups(GroupLoad load, const std::atomic<bool>* stopRequested)
{
    std::lock_guard lock(m_loadMutex);
    std::vector<std::wstring> names;
    {
        std::lock_guard groupLock(m_groupMutex);
        for (const auto& [name, group] : m_groups) {
            if (group.m_load == load) {
                names.push_back(name);
            }
        }
    }
    for (const std::wstring& name : names) {
        if (!LoadNamedGroup(name, stopRequested)) {
            return;
        }
    }
}

bool Assets::LoadGroup(const std::wstring& name, const std::atomic<bool>* stopRequested)
{
    std::lock_guard lock(m_loadMutex);
    return LoadNamedGroup(name, stopRequested);
}

void Assets::UnloadGroup(const std::wstring& name)
{
    std::lock_guard lock(m_loadMutex);
    UnloadNamedGroup(name);
}

bool Assets::LoadNamedGroup(const std::wstring& name, const std::atomic<bool>* stopRequested)
{
    if (!HasGroup(name)) {
        return false;
    }
    m_loadedGroups.insert(name);
    return LoadSet(GroupSet(name), stopRequested);
}

void Assets::UnloadNamedGroup(const std::wstring& name)
{
    if (m_loadedGroups.erase(name) == 0 && !HasGroup(name)) {
        return;
    }
    ReleaseSet(GroupSet(name));
}

bool Assets::HasGroup(const std::wstring& name) const
{
    std::lock_guard lock(m_groupMutex);
    return m_groups.contains(name);
}

std::vector<std::wstring> Assets::GetGroupNames() const
{
    std::lock_guard lock(m_groupMutex);
    std::vector<std::wstring> names;
    for (const auto& group : m_groups) {
        names.push_back(group.first);
    }
    return names;
}

ResourceSet Assets::GroupSet(const std::wstring& name) const
{
    ResourceSet set;
    std::lock_guard lock(m_groupMutex);
    auto found = m_groups.find(name);
    if (found == m_groups.end()) {
        return set;
    }
    set.m_flags = ResourceSet::kPrepared;
    for (const GroupEntry& entry : found->second.m_entries) {
        NamesOf(set, entry.m_kind).insert(entry.m_name);
    }
    return set;
}

void Assets::PrepareGroupLoad(const std::wstring& setName, ResourceSet& record) const
{
    record = GroupSet(setName);
}

bool Assets::LoadGroup(const std::wstring& groupName, const ResourceSet& record,
                       const std::atomic<bool>* stopRequested, const std::wstring& releaseGroup)
{
    std::lock_guard lock(m_loadMutex);
    if (!releaseGroup.empty()) {
        UnloadNamedGroup(releaseGroup);
    }
    if (!groupName.empty() && !LoadNamedGroup(groupName, stopRequested) && stopRequested && *stopRequested) {
        return false;
    }
    ResourceSet previous = std::move(m_recordLoaded);
    m_recordLoaded = record;
    ResourceSet released;
    for (Kind kind : kAllKinds) {
        for (const std::wstring& name : NamesOf(previous, kind)) {
            if (!NamesOf(record, kind).contains(name)) {
                NamesOf(released, kind).insert(name);
            }
        }
    }
    ReleaseSet(released);
    return LoadSet(record, stopRequested);
}

bool Assets::LoadSet(const ResourceSet& set, const std::atomic<bool>* stopRequested)
{
    for (Kind kind : kAllKinds) {
        for (const std::wstring& name : NamesOf(set, kind)) {
            if (stopRequested && stopRequested->load()) {
                return false;
            }
            LoadLocked(kind, name);
        }
    }
    return true;
}

bool Assets::IsHeld(Kind kind, const std::wstring& name) const
{
    if (NamesOf(m_recordLoaded, kind).contains(name)) {
        return true;
    }
    // Only the loaded groups are asked: a registry of many groups holds few loaded at a time.
    std::lock_guard lock(m_groupMutex);
    for (const std::wstring& groupName : m_loadedGroups) {
        auto group = m_groups.find(groupName);
        if (group != m_groups.end() && group->second.m_members.contains({kind, name})) {
            return true;
        }
    }
    return false;
}

void Assets::ReleaseSet(const ResourceSet& set)
{
    for (Kind kind : kAllKinds) {
        for (const std::wstring& name : NamesOf(set, kind)) {
            if (!IsHeld(kind, name)) {
                UnloadLocked(kind, name);
            }
        }
    }
}

void Assets::SetImageMaxCellSide(const std::wstring& name, int maxSide)
{
    std::lock_guard lock(m_images.m_mutex);
    m_images.m_entries[name].m_maxCellSide = maxSide;
}

std::set<std::string> Assets::GetFolders() const
{
    std::set<std::string> folders;
    auto add = [&folders](const std::string& file) {
        const std::string path = NormalizePakPath(file);
        const std::size_t slash = path.find('/');
        if (slash != std::string::npos && slash > 0)
            folders.insert(path.substr(0, slash));
    };
    for (Kind kind : kAllKinds) {
        const Table& table = TableOf(kind);
        std::lock_guard lock(table.m_mutex);
        for (const auto& [name, entry] : table.m_entries)
            if (entry.m_registered)
                add(entry.m_file);
    }
    return folders;
}

bool Assets::Load(Kind kind, const std::wstring& name)
{
    std::lock_guard lock(m_loadMutex);
    return LoadLocked(kind, name);
}

void Assets::Unload(Kind kind, const std::wstring& name)
{
    std::lock_guard lock(m_loadMutex);
    UnloadLocked(kind, name);
}

bool Assets::LoadLocked(Kind kind, const std::wstring& name)
{
    Table& table = TableOf(kind);
    Entry entry;
    {
        std::lock_guard lock(table.m_mutex);
        auto found = table.m_entries.find(name);
        if (found == table.m_entries.end() || !found->second.m_registered) {
            return false;
        }
        if (found->second.m_loaded) {
            return true;
        }
        entry = found->second;
    }

    bool loaded = false;
    Image* image = entry.m_image;
    switch (kind) {
    case Kind::Image: {
        if (!m_loaders.loadImage) {
            break;
        }
        ImageSource source;
        source.m_name = name;
        source.m_file = entry.m_file;
        source.m_cols = entry.m_cols;
        source.m_rows = entry.m_rows;
        source.m_maxCellSide = entry.m_maxCellSide;
        Atlas* atlas = entry.m_atlas >= 0 ? &m_atlases[static_cast<size_t>(entry.m_atlas)] : nullptr;
        if (atlas) {
            if (!atlas->m_loaded) {
                ImageSource atlasSource;
                atlasSource.m_file = atlas->m_file;
                Image* atlasImage = m_loaders.loadImage(atlasSource, atlas->m_image);
                if (atlasImage) {
                    atlas->m_image = atlasImage;
                    atlas->m_loaded = true;
                }
            }
            if (!atlas->m_loaded) {
                break;
            }
            source.m_atlas = atlas->m_image;
            source.m_x = entry.m_x;
            source.m_y = entry.m_y;
            source.m_width = entry.m_width;
            source.m_height = entry.m_height;
        }
        Image* result = m_loaders.loadImage(source, entry.m_image);
        if (result) {
            image = result;
            loaded = true;
            if (atlas) {
                ++atlas->m_loadedPieces;
            }
        }
        break;
    }
    case Kind::Sound:
        loaded = m_loaders.loadSound && m_loaders.loadSound(entry.m_id, entry.m_file);
        break;
    case Kind::Music:
    case Kind::Voice:
    case Kind::Ambience: {
        const auto& load = kind == Kind::Music   ? m_loaders.loadMusic
                           : kind == Kind::Voice ? m_loaders.loadVoice
                                                 : m_loaders.loadAmbience;
        // Songs made here are tracker modules; the player tells them from
        // streams by the extension.
        loaded = load && (load(entry.m_id, entry.m_file + ".ogg") || load(entry.m_id, entry.m_file + ".mp3") ||
                          load(entry.m_id, entry.m_file + ".mod"));
        break;
    }
    }

    if (!loaded && !entry.m_file.empty()) {
        // The game runs on with an empty entry; the log says which file was missing or unreadable.
        LogWriter::WriteLine(L"Assets: could not load " + name + L" from " + StringToWString(entry.m_file));
    }
    std::lock_guard lock(table.m_mutex);
    Entry& stored = table.m_entries[name];
    stored.m_image = image;
    stored.m_loaded = loaded;
    return loaded;
}

void Assets::UnloadLocked(Kind kind, const std::wstring& name)
{
    Table& table = TableOf(kind);
    Entry entry;
    {
        std::lock_guard lock(table.m_mutex);
        auto found = table.m_entries.find(name);
        if (found == table.m_entries.end() || !found->second.m_loaded) {
            return;
        }
        // Marked first, so look-ups stop handing the asset out before it goes.
        found->second.m_loaded = false;
        entry = found->second;
    }
    switch (kind) {
    case Kind::Image:
        if (m_loaders.unloadImage) {
            m_loaders.unloadImage(entry.m_image);
        }
        if (entry.m_atlas >= 0) {
            Atlas& atlas = m_atlases[static_cast<size_t>(entry.m_atlas)];
            if (--atlas.m_loadedPieces <= 0) {
                atlas.m_loadedPieces = 0;
                if (atlas.m_loaded && m_loaders.unloadImage) {
                    m_loaders.unloadImage(atlas.m_image);
                }
                atlas.m_loaded = false;
            }
        }
        break;
    case Kind::Sound:
        if (m_loaders.releaseSound) {
            m_loaders.releaseSound(entry.m_id);
        }
        break;
    case Kind::Music:
    case Kind::Voice:
    case Kind::Ambience: {
        const auto& unload = kind == Kind::Music   ? m_loaders.unloadMusic
                             : kind == Kind::Voice ? m_loaders.unloadVoice
                                                   : m_loaders.unloadAmbience;
        if (unload) {
            unload(entry.m_id);
        }
        break;
    }
    }
}

void Assets::UnloadAll()
{
    std::lock_guard lock(m_loadMutex);
    m_loadedGroups.clear();
    m_recordLoaded.Clear();
    for (Kind kind : kAllKinds) {
        std::vector<std::wstring> names;
        {
            Table& table = TableOf(kind);
            std::lock_guard tableLock(table.m_mutex);
            for (const auto& [name, entry] : table.m_entries) {
                if (entry.m_loaded) {
                    names.push_back(name);
                }
            }
        }
        for (const std::wstring& name : names) {
            UnloadLocked(kind, name);
        }
    }
}

void Assets::Clear()
{
    UnloadAll();
    std::lock_guard lock(m_loadMutex);
    std::vector<Image*> images;
    for (Kind kind : kAllKinds) {
        Table& table = TableOf(kind);
        std::lock_guard tableLock(table.m_mutex);
        for (const auto& [name, entry] : table.m_entries) {
            if (entry.m_image) {
                images.push_back(entry.m_image);
            }
        }
        table.m_entries.clear();
        table.m_nextId = 0;
    }
    for (const Atlas& atlas : m_atlases) {
        if (atlas.m_image) {
            images.push_back(atlas.m_image);
        }
    }
    m_atlases.clear();
    m_atlasIndex.clear();
    {
        std::lock_guard groupLock(m_groupMutex);
        m_groups.clear();
    }
    if (m_loaders.destroyImage) {
        for (Image* image : images) {
            m_loaders.destroyImage(image);
        }
    }
}

Image* Assets::GetImage(const std::wstring& name)
{
    std::lock_guard lock(m_images.m_mutex);
    const Entry& entry = m_images.m_entries[name];
    return entry.m_loaded ? entry.m_image : nullptr;
}

std::wstring Assets::FindImageName(const Image* image) const
{
    std::lock_guard lock(m_images.m_mutex);
    for (const auto& [name, entry] : m_images.m_entries) {
        if (image != nullptr && entry.m_image == image)
            return name;
    }
    return {};
}

int Assets::GetId(Kind kind, const std::wstring& name)
{
    Table& table = TableOf(kind);
    std::lock_guard lock(table.m_mutex);
    const Entry& entry = table.m_entries[name];
    return entry.m_loaded ? entry.m_id : -1;
}

int Assets::GetRegisteredId(Kind kind, const std::wstring& name) const
{
    const Table& table = TableOf(kind);
    std::lock_guard lock(table.m_mutex);
    auto found = table.m_entries.find(name);
    return found != table.m_entries.end() && found->second.m_registered ? found->second.m_id : -1;
}

bool Assets::IsLoaded(Kind kind, const std::wstring& name) const
{
    const Table& table = TableOf(kind);
    std::lock_guard lock(table.m_mutex);
    auto found = table.m_entries.find(name);
    return found != table.m_entries.end() && found->second.m_loaded;
}

Image* GetImage(const std::wstring& name)
{
    return Assets::Get().GetImage(name);
}

int GetSoundId(const std::wstring& name)
{
    return Assets::Get().GetId(Assets::Kind::Sound, name);
}

int LookupMusicId(const std::wstring& name)
{
    return Assets::Get().GetId(Assets::Kind::Music, name);
}

int LookupVoiceId(const std::wstring& name)
{
    return Assets::Get().GetId(Assets::Kind::Voice, name);
}

int LookupAmbienceId(const std::wstring& name)
{
    return Assets::Get().GetId(Assets::Kind::Ambience, name);
}
