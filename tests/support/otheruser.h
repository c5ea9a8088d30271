#pragma once

#include <QString>

namespace tessaly::test {

// Acts as the unprivileged user 65534 until destroyed, so permission bits stop writes even
// when the tests run as the superuser. active() is false when the switch was not possible.
// Folders the user must reach are opened with openUp().
class AsOtherUser {
public:
    AsOtherUser();
    ~AsOtherUser();
    AsOtherUser(const AsOtherUser&) = delete;
    AsOtherUser& operator=(const AsOtherUser&) = delete;
    bool active() const { return active_; }

private:
    bool switched_ = false;
    bool active_ = false;
};

// Makes a folder and everything in it reachable and readable for every user, and the
// folder itself writable for every user.
void openUp(const QString& folder);
// Removes write permission from a folder (reading and listing stay allowed).
void makeReadOnly(const QString& path);

}  // namespace tessaly::test
