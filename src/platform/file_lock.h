#pragma once

#include <memory>
#include <string>

namespace lw {

// A lock several processes take before changing files they share. It holds
// for as long as the object lives and goes with the process, so a killed
// holder never leaves it taken.
class IHeldLock {
public:
    virtual ~IHeldLock() = default;
};

class IFileLocks {
public:
    virtual ~IFileLocks() = default;
    // Waits until no other holder has the lock named by the file at path
    // (made when missing) and takes it; nothing, with errno set, when the
    // file can be neither made nor opened.
    virtual std::unique_ptr<IHeldLock> Lock(const std::string& path) = 0;
};

} // namespace lw
