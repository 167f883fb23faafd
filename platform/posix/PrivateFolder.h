#pragma once
// A folder that only this user can reach, for the single-instance lock and
// socket. It is created with mode 0700 when missing and refused when it is a
// symbolic link, belongs to someone else or lets others in: in a shared
// folder such as /tmp another user could otherwise make it first.
#include <sys/un.h>

#include <string>

namespace pw {

class PrivateFolder {
public:
    PrivateFolder() = default;
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    // Creates the folder if missing and keeps it open. False, with the reason
    // in error, when it cannot be made or is not private.
    bool Open(const std::string& path, std::string& error);
    // The same for a folder that is already there; never creates it.
    bool OpenExisting(const std::string& path, std::string& error);

    // Opens or creates a file in the folder for reading and writing, never
    // through a symbolic link. A file descriptor, or -1 with errno set.
    int OpenFile(const char* name) const;
    // Opens a file already in the folder for reading and writing, never
    // through a symbolic link; -1 with errno set.
    int OpenExistingFile(const char* name) const;
    // Fills the address of a socket in the folder. A path too long for a
    // socket address is reached through the open folder instead, so a deep
    // folder still works.
    void SocketAddress(const char* name, sockaddr_un& address) const;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace pw
