#pragma once
// What the job commands need of the script host (the job automation's script window): load a job
// script with the job API registered, compile it, run it, tell why it failed, and show the script
// editor. One host is made for each job and freed after it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tv {

class IScriptHost {
public:
    virtual ~IScriptHost() = default;
    // Loads the script file and registers the job API; a missing file raises the file error.
    virtual void LoadScript(const std::string& fileName) = 0;
    // False on any compile error; the messages stay with the host.
    virtual bool Compile() = 0;
    // The compiler's messages of the last compile, one text each.
    virtual std::vector<std::string> CompilerMessages() const = 0;
    // False when execution stopped with a run-time error (also when nothing was compiled).
    virtual bool Execute() = 0;
    // The text of the last execution error.
    virtual std::string ExecErrorToString() const = 0;
    // Shows the host as the script editor, modally.
    virtual void ShowModal() = 0;
};

using TScriptHostFactory = std::function<std::unique_ptr<IScriptHost>()>;

}  // namespace tv
