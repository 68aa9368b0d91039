#include "catalogue/memory_registry_reader.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

CMemoryRegistryReader::Node* CMemoryRegistryReader::Find(const std::string& path, bool create) {
    Node* node = &root_;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        const auto found =
            std::find_if(node->children.begin(), node->children.end(),
                         [&](const auto& c) { return Lower(c->name) == Lower(part); });
        if (found != node->children.end()) {
            node = found->get();
        } else if (create) {
            node->children.push_back(std::make_unique<Node>());
            node->children.back()->name = part;
            node = node->children.back().get();
        } else {
            return nullptr;
        }
    }
    return node;
}

void CMemoryRegistryReader::AddKey(const std::string& path) {
    Find(path, true);
}

void CMemoryRegistryReader::SetValue(const std::string& path, const std::string& name,
                                     std::string bytes) {
    Find(path, true)->values[Lower(name)] = std::move(bytes);
}

void CMemoryRegistryReader::SetString(const std::string& path, const std::string& name,
                                      const std::string& text) {
    SetValue(path, name, text + '\0');
}

CRegistryReader::Key CMemoryRegistryReader::Open(const std::string& path) {
    Node* node = Find(path, false);
    if (node != nullptr)
        ++openKeys_;
    return node;
}

CRegistryReader::EnumResult
CMemoryRegistryReader::EnumerateSubKey(Key key, DWORD index, DWORD bufferChars, std::string& name) {
    const Node* node = static_cast<const Node*>(key);
    if (index >= node->children.size())
        return EnumResult::End;
    const std::string& child = node->children[index]->name;
    if (child.size() + 1 > bufferChars)
        return EnumResult::NameTooLong;
    name = child;
    return EnumResult::Name;
}

std::optional<std::string> CMemoryRegistryReader::QueryValue(Key key, const char* name,
                                                             DWORD bufferBytes) {
    const Node* node = static_cast<const Node*>(key);
    const auto found = node->values.find(Lower(name));
    if (found == node->values.end() || found->second.size() > bufferBytes)
        return std::nullopt;
    return found->second;
}

void CMemoryRegistryReader::Close(Key) {
    --openKeys_;
}
