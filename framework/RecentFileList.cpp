#include "RecentFileList.h"

#include <algorithm>

#include "platform/registry/Utf16.h"

namespace framework {

RecentFileList::RecentFileList(std::string keyPath, size_t size) : m_keyPath(std::move(keyPath)), m_size(size) {}

void RecentFileList::Load() {
    m_entries.clear();
    orv::reg::Registry& r = orv::reg::CurrentRegistry();
    orv::reg::Key key;
    if (r.OpenKey(orv::reg::CurrentUserRoot(), m_keyPath, &key) != orv::reg::Status::Ok) return;
    for (size_t i = 1; i <= m_size; ++i) {
        const std::string name = "File" + std::to_string(i);
        uint32_t size = 0;
        if (r.QueryValue(key, name, nullptr, nullptr, &size) != orv::reg::Status::Ok) continue;
        std::vector<uint8_t> data(size);
        if (r.QueryValue(key, name, nullptr, data.data(), &size) != orv::reg::Status::Ok) continue;
        const std::string path = orv::reg::Utf16ToUtf8(orv::reg::StringValueText(data.data(), size));
        if (!path.empty() && std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end())
            m_entries.push_back(path);
    }
    r.CloseKey(key);
}

void RecentFileList::Save() const {
    orv::reg::Registry& r = orv::reg::CurrentRegistry();
    orv::reg::Key key;
    if (r.CreateKey(orv::reg::CurrentUserRoot(), m_keyPath, &key) != orv::reg::Status::Ok) return;
    for (size_t i = 0; i < m_size; ++i) {
        const std::string name = "File" + std::to_string(i + 1);
        if (i >= m_entries.size()) {
            r.DeleteValue(key, name);
            continue;
        }
        const auto bytes = orv::reg::Utf8ToUtf16Bytes(m_entries[i], true);
        r.SetValue(key, name, orv::reg::kString, bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    r.CloseKey(key);
}

void RecentFileList::Add(const std::string& path) {
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), path), m_entries.end());
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > m_size) m_entries.resize(m_size);
}

void RecentFileList::Remove(size_t index) {
    if (index < m_entries.size()) m_entries.erase(m_entries.begin() + static_cast<ptrdiff_t>(index));
}

}  // namespace framework
