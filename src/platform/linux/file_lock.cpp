#include "platform/linux/linux_platform.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace lw {

namespace {

class TFlockHeld : public IHeldLock {
public:
    explicit TFlockHeld(int fd) : Fd(fd) {}
    ~TFlockHeld() override { ::close(Fd); }
    TFlockHeld(const TFlockHeld&) = delete;
    TFlockHeld& operator=(const TFlockHeld&) = delete;

private:
    int Fd;
};

class TFlockLocks : public IFileLocks {
public:
    std::unique_ptr<IHeldLock> Lock(const std::string& path) override {
        // A folder the user may only read still has its lock file to share.
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0) {
            fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        }
        if (fd < 0) {
            return nullptr;
        }
        int result = 0;
        do {
            result = ::flock(fd, LOCK_EX);
        } while (result != 0 && errno == EINTR);
        if (result != 0) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return nullptr;
        }
        return std::make_unique<TFlockHeld>(fd);
    }
};

} // namespace

std::unique_ptr<IFileLocks> MakeLinuxFileLocks() {
    return std::make_unique<TFlockLocks>();
}

} // namespace lw
