// kite test --watch: which files change, from inotify on the folders that
// hold them.
#ifndef KITE_TEST_WATCH_H
#define KITE_TEST_WATCH_H

#include <map>
#include <set>
#include <signal.h>
#include <string>

namespace Kite {

class CFolderWatch {
public:
    CFolderWatch() = default;
    ~CFolderWatch();
    // Watches these folders (absolute) too, from now on; a folder that is
    // not there is left out. False with a reason when one cannot be watched.
    bool Watch(const std::set<std::string>& folders, std::string& strError);
    // Waits until something changes in the folders, then until they have
    // been quiet a moment (an editor writes a file in several steps), and
    // adds the absolute paths that changed. False when a signal that the
    // mask lets through came first.
    bool Wait(const sigset_t& unblocked, std::set<std::string>& changed);

private:
    CFolderWatch(const CFolderWatch&) = delete;
    CFolderWatch& operator=(const CFolderWatch&) = delete;

    // Adds what there is to read now.
    void Read(std::set<std::string>& changed);

    int m_iFd = -1;
    std::map<int, std::string> m_folders;  // by watch descriptor
};

}  // namespace Kite

#endif
