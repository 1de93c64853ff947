// The seam to the process's surroundings: working directory, environment,
// files' existence, and the list of running processes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class System {
public:
    virtual ~System() = default;
    virtual std::string WorkingDirectory() = 0;
    // ExpandEnvironmentStringsA: %name% replaced by the variable's value.
    virtual std::string ExpandEnvironment(const std::string& text) = 0;
    // True for an existing file or folder.
    virtual bool PathExists(const std::string& path) = 0;

    // The process ids (at most 512), as EnumProcesses gives them; false when
    // processes cannot be enumerated (the process-status library missing).
    virtual bool EnumerateProcesses(std::vector<std::uint32_t>& ids) = 0;
    // The executable's base name of a process; false when it cannot be read.
    virtual bool ProcessImageName(std::uint32_t id, std::string& name) = 0;
    virtual bool TerminateProcess(std::uint32_t id) = 0;
};
