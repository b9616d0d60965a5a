#include "base/user_folders.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base {
namespace {

constexpr char kProgramFolder[] = "pimuru/";

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string HomeFolder(const EnvironmentLookup& environment) {
    const char* home = environment("HOME");
    if (home && *home)
        return home;
    const passwd* user = getpwuid(getuid());
    return user && user->pw_dir ? user->pw_dir : "/";
}

std::string XdgFolder(const EnvironmentLookup& environment, const char* variable,
                      const char* underHome) {
    const char* value = environment(variable);
    if (value && value[0] == '/')
        return WithSeparator(value) + kProgramFolder;
    return WithSeparator(HomeFolder(environment)) + underHome + kProgramFolder;
}

} // namespace

const char* ProcessEnvironment(const char* name) {
    return std::getenv(name);
}

std::string UserStateFolder(const EnvironmentLookup& environment) {
    return XdgFolder(environment, "XDG_STATE_HOME", ".local/state/");
}

std::string UserDataFolder(const EnvironmentLookup& environment) {
    return XdgFolder(environment, "XDG_DATA_HOME", ".local/share/");
}

bool CanCreateFilesIn(const std::string& folder) {
    std::string probe = WithSeparator(folder) + ".pimuru-write-test-XXXXXX";
    const int fd = mkstemp(probe.data());
    if (fd < 0)
        return false;
    close(fd);
    unlink(probe.c_str());
    return true;
}

bool MakeFolders(const std::string& folder) {
    std::string path = WithSeparator(folder);
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace base
