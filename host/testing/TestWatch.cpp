#include "testing/TestWatch.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace Kite {

namespace {

// How long the folders stay quiet before the changes count.
const long QUIET_MS = 200;

const uint32_t CHANGES = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_DELETE_SELF |
                         IN_MOVE_SELF | IN_ATTRIB;

}  // namespace

CFolderWatch::~CFolderWatch()
{
    if (m_iFd >= 0)
        close(m_iFd);
}

bool CFolderWatch::Watch(const std::set<std::string>& folders, std::string& strError)
{
    if (m_iFd < 0)
        m_iFd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_iFd < 0) {
        strError = std::string("cannot watch files: ") + std::strerror(errno);
        return false;
    }
    for (const std::string& strFolder : folders) {
        // A folder already watched keeps its descriptor.
        int iWatch = inotify_add_watch(m_iFd, strFolder.c_str(), CHANGES | IN_ONLYDIR);
        if (iWatch >= 0) {
            m_folders[iWatch] = strFolder;
        } else if (errno != ENOENT && errno != ENOTDIR) {
            // A folder that is gone holds nothing to run; one named is
            // missed by the search for test files.
            strError = "cannot watch " + strFolder + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

void CFolderWatch::Read(std::set<std::string>& changed)
{
    alignas(inotify_event) char aBuffer[64 * (sizeof(inotify_event) + NAME_MAX + 1)];
    for (;;) {
        ssize_t iRead = read(m_iFd, aBuffer, sizeof aBuffer);
        if (iRead < 0 && errno == EINTR)
            continue;
        if (iRead <= 0)
            return;
        for (char* pAt = aBuffer; pAt < aBuffer + iRead;) {
            const inotify_event* pEvent = reinterpret_cast<const inotify_event*>(pAt);
            auto it = m_folders.find(pEvent->wd);
            if (it != m_folders.end()) {
                changed.insert(pEvent->len > 0 ? it->second + "/" + pEvent->name : it->second);
                // The folder is gone: one made again under its name is watched anew.
                if (pEvent->mask & IN_IGNORED)
                    m_folders.erase(it);
            }
            pAt += sizeof(inotify_event) + pEvent->len;
        }
    }
}

bool CFolderWatch::Wait(const sigset_t& unblocked, std::set<std::string>& changed)
{
    bool bChanged = false;
    for (;;) {
        pollfd fd = {m_iFd, POLLIN, 0};
        timespec quiet = {0, QUIET_MS * 1000000L};
        int iReady = ppoll(&fd, 1, bChanged ? &quiet : nullptr, &unblocked);
        if (iReady < 0 && errno == EINTR)
            return false;
        if (iReady == 0)
            return true;
        if (iReady > 0) {
            Read(changed);
            bChanged = true;
        }
    }
}

}  // namespace Kite
