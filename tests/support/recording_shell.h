#pragma once
// A shell service that records what it was asked to open instead of starting anything, installed
// for the life of the object.

#include <string>
#include <vector>

#include "platform/win/shell_service.h"

namespace tv::test {

class RecordingShell : public IShellService {
public:
    RecordingShell() { SetShellService(this); }
    ~RecordingShell() override { SetShellService(nullptr); }
    RecordingShell(const RecordingShell&) = delete;
    RecordingShell& operator=(const RecordingShell&) = delete;

    void OpenFolder(const std::string& folder) override { opened.push_back(folder); }
    void ShowFile(const std::string& fileName) override { shown.push_back(fileName); }
    int ShellExecuteAndWait(const std::string&, const std::string& file, const std::string& parameters, bool,
                            int, const std::string&) override {
        executed.push_back(file);
        executedParameters.push_back(parameters);
        return exitCode;
    }

    std::vector<std::string> opened;
    std::vector<std::string> shown;
    std::vector<std::string> executed;
    std::vector<std::string> executedParameters;  // the parameters of each of `executed`
    int exitCode = 0;
};

}  // namespace tv::test
