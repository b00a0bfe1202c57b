#include "tests/support/ChildProcess.hpp"

#include <csignal>
#include <cstdlib>
#include <regex>
#include <stdexcept>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace QEL
{
namespace Testing
{

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& environment,
                           const std::string& workingDirectory)
{
    int input[2];
    int output[2];
    if (pipe(input) != 0 || pipe(output) != 0)
        throw std::runtime_error("pipe failed");

    mPid = fork();
    if (mPid < 0)
        throw std::runtime_error("fork failed");
    if (mPid == 0)
    {
        dup2(input[0], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        dup2(output[1], STDERR_FILENO);
        close(input[1]);
        close(output[0]);
        for (const auto& [name, value] : environment)
            setenv(name.c_str(), value.c_str(), 1);
        if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0)
            _exit(126);
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(input[0]);
    close(output[1]);
    mInput = input[1];
    mReader = std::thread(&ChildProcess::collect, this, output[0]);
}

ChildProcess::~ChildProcess()
{
    if (!mStatus)
    {
        kill();
        waitForExit(std::chrono::seconds(10));
    }
    closeInput();
    if (mReader.joinable())
        mReader.join();
}

void ChildProcess::writeInput(const std::string& text)
{
    if (mInput >= 0 && write(mInput, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        throw std::runtime_error("writing to the child's input failed");
}

void ChildProcess::closeInput()
{
    if (mInput >= 0)
        close(mInput);
    mInput = -1;
}

std::string ChildProcess::getOutput() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mOutput;
}

bool ChildProcess::waitForOutput(const std::string& text, std::chrono::milliseconds deadline) const
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end)
    {
        if (getOutput().find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return getOutput().find(text) != std::string::npos;
}

bool ChildProcess::waitForMatch(const std::string& pattern, std::chrono::milliseconds deadline) const
{
    const std::regex expression(pattern);
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!std::regex_search(getOutput(), expression))
    {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!mStatus)
    {
        int status = 0;
        if (waitpid(mPid, &status, WNOHANG) == mPid)
            mStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        else if (std::chrono::steady_clock::now() >= end)
            return std::nullopt;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return mStatus;
}

void ChildProcess::kill()
{
    if (!mStatus && mPid > 0)
        ::kill(mPid, SIGKILL);
}

void ChildProcess::stop(std::chrono::milliseconds deadline)
{
    if (mStatus || mPid <= 0)
        return;
    ::kill(mPid, SIGTERM);
    if (!waitForExit(deadline))
        kill();
}

std::string ChildProcess::getWholeOutput()
{
    if (mReader.joinable())
        mReader.join();
    return getOutput();
}

void ChildProcess::collect(int descriptor)
{
    char buffer[4096];
    ssize_t count;
    while ((count = read(descriptor, buffer, sizeof(buffer))) > 0)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mOutput.append(buffer, static_cast<std::size_t>(count));
    }
    close(descriptor);
}

std::string programPath(const std::string& name)
{
    // The environment names another tree; by default the programs come from the tree these
    // tests were built in.
    const char* build = std::getenv("QUELMOOR_BUILD_DIR");
    return std::string(build ? build : QUELMOOR_TEST_BUILD_DIR) + "/bin/" + name;
}

} // namespace Testing
} // namespace QEL
