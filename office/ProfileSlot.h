#pragma once

#include <QString>

namespace office {

// One private LibreOffice profile folder under a root folder, locked for one server. A
// LibreOffice started on a profile that another one is using hands its arguments over to that
// one and exits, so every running server needs a profile of its own. The folders are kept, so
// that later starts find them ready: root/profile-0 is used when free, else profile-1, ...
class ProfileSlot {
public:
    static constexpr int kMaximumSlots = 32;

    // Creates root when missing and locks the first free slot; raises AutomationError when
    // that fails.
    explicit ProfileSlot(const QString& root);
    ~ProfileSlot();
    ProfileSlot(const ProfileSlot&) = delete;
    ProfileSlot& operator=(const ProfileSlot&) = delete;

    QString folder() const { return m_folder; }
    // The locked descriptor. A server that inherits it keeps the slot locked for as long as it
    // runs, even if it outlives this object.
    int lockDescriptor() const { return m_lock; }

private:
    QString m_folder;
    int m_lock = -1;
};

} // namespace office
