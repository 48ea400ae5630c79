#include "resources/Localization.h"

#include <map>
#include <mutex>

namespace {

std::mutex gTextsMutex;
std::map<std::wstring, std::wstring> gTexts;

} // namespace

bool Localization::Load(const std::string& fileName)
{
    m_pendingKey.clear();
    return LoadPropertiesFile(fileName);
}

void Localization::HandleElementStart(const std::wstring& name)
{
    m_pendingKey.clear();
    if (name == L"id") {
        StoreText(GetAttribute(L"tag"), GetAttribute(L"value"));
    } else if (name == L"pair") {
        const std::wstring& tag = GetAttribute(L"tag");
        StoreText(tag + L"_title", GetAttribute(L"title"));
        StoreText(tag + L"_text", GetAttribute(L"text"));
    } else {
        m_pendingKey = name;
    }
}

void Localization::HandleElementEnd(const std::wstring& name)
{
    (void)name;
    // Text after an element's end belongs to no key.
    m_pendingKey.clear();
}

void Localization::HandleText(const std::wstring& text)
{
    if (!m_pendingKey.empty()) {
        StoreText(m_pendingKey, text);
    }
}

void Localization::StoreText(const std::wstring& key, const std::wstring& text)
{
    std::wstring converted = ConvertLineBreaks(text);
    std::lock_guard lock(gTextsMutex);
    gTexts.insert_or_assign(key, std::move(converted));
}

std::wstring Localize(const std::wstring& key)
{
    std::lock_guard lock(gTextsMutex);
    return gTexts[key];
}

bool HasLocalizedText(const std::wstring& key)
{
    std::lock_guard lock(gTextsMutex);
    return gTexts.contains(key);
}

void ClearLocalization()
{
    std::lock_guard lock(gTextsMutex);
    gTexts.clear();
}

std::wstring ConvertLineBreaks(const std::wstring& text)
{
    static const std::wstring kBreak = L"[br]";
    std::wstring result;
    result.reserve(text.size());
    size_t start = 0;
    for (size_t found = text.find(kBreak); found != std::wstring::npos; found = text.find(kBreak, start)) {
        result.append(text, start, found - start);
        result.push_back(L'\n');
        start = found + kBreak.size();
    }
    result.append(text, start, std::wstring::npos);
    return result;
}
