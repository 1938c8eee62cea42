#pragma once

#include "base/regfile.h"
#include "platform/registry_port.h"
#include "platform/services.h"

namespace lw::test {

// A hive in memory that can be told to fail, for the failure paths of code
// that reads and writes settings.
class TMemoryHive : public IRegistryHive {
public:
    TRegKeys Keys;
    bool Damaged = false;
    bool FailSave = false;
    int Saves = 0;

    TRegKeys Load() override {
        if (Damaged) {
            throw ERegistryDamaged("damaged");
        }
        return Keys;
    }
    void Save(const TRegKeys& keys) override {
        if (FailSave) {
            throw ERegistryError("disk full");
        }
        Keys = keys;
        Damaged = false;
        ++Saves;
    }

    TRegValues& ProgramKey() { return Keys["HKEY_CURRENT_USER\\Software\\Kestrova\\Letterwell"]; }
};

// A memory hive that is the process's registry for as long as it lives.
class TScopedMemoryHive : public TMemoryHive {
public:
    TScopedMemoryHive() : Previous(Platform().Registry) { Platform().Registry = this; }
    ~TScopedMemoryHive() override { Platform().Registry = Previous; }
    TScopedMemoryHive(const TScopedMemoryHive&) = delete;
    TScopedMemoryHive& operator=(const TScopedMemoryHive&) = delete;

private:
    IRegistryHive* Previous;
};

} // namespace lw::test
