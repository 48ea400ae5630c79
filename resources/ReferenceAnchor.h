#pragma once

#include <memory>

// Lets Values refer to a float, an int or a widget without dangling: the owner of the target holds an
// anchor, and a reference made from it reads as 0 (or null) once the owner is gone.
// Copying an owner does not copy its anchor's identity: the copy's fields live elsewhere.
class ReferenceAnchor
{
public:
    ReferenceAnchor() = default;
    ReferenceAnchor(const ReferenceAnchor&) {}
    ReferenceAnchor& operator=(const ReferenceAnchor&) { return *this; }

    std::weak_ptr<const void> GetToken() const { return m_token; }

private:
    std::shared_ptr<const void> m_token = std::make_shared<char>(0);
};
