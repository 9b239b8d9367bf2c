// Faults the tests make the file layer report, for failures a real disk rarely gives.
#pragma once

namespace zandrel {

// From now on every File::Sync fails with this errno without flushing; 0 ends the fault.
void SetSyncFaultForTesting(int systemError);

// The sync fault for as long as the object lives.
class ScopedSyncFaultForTesting {
  public:
    explicit ScopedSyncFaultForTesting(int systemError) { SetSyncFaultForTesting(systemError); }
    ~ScopedSyncFaultForTesting() { SetSyncFaultForTesting(0); }
    ScopedSyncFaultForTesting(const ScopedSyncFaultForTesting&) = delete;
    ScopedSyncFaultForTesting& operator=(const ScopedSyncFaultForTesting&) = delete;
};

} // namespace zandrel
