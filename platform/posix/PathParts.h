#pragma once
// A POSIX path's folder and last name, as the file stores split the paths
// they are given and the links they follow.
#include <string>

namespace pw {

// The folder a path names its file in: "." for a bare name, "/" at the root.
inline std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

inline std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace pw
