// Starts tallix.exe itself, as a Windows user or script would: the arguments travel as the
// wide command line and the JSON comes back through a pipe.

#include <windows.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "engine/text/wide_text.h"
#include "temp_dir.h"

namespace {

using Json = nlohmann::json;

struct Process {
    DWORD status = 0xFFFFFFFF;
    std::string out;
};

// Owns a handle for the length of one run.
class Handle {
public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    ~Handle() {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE* Out() { return &handle_; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// Runs tallix.exe with the command line given (after the program name), collecting its
// standard output; standard error is left to the test's own.
Process RunTallix(const std::wstring& arguments) {
    Process process;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    Handle readEnd, writeEnd;
    if (!::CreatePipe(readEnd.Out(), writeEnd.Out(), &inherit, 0) ||
        !::SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0)) {
        ADD_FAILURE() << "no pipe: " << ::GetLastError();
        return process;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    const std::wstring program = tallix::Utf8ToWide(TALLIX_CLI_EXE);
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          nullptr, &startup, &started)) {
        ADD_FAILURE() << "cannot start " << TALLIX_CLI_EXE << ": " << ::GetLastError();
        return process;
    }
    Handle child(started.hProcess), thread(started.hThread);
    // Only the child may hold the write end now, so that reading ends when it exits.
    ::CloseHandle(*writeEnd.Out());
    *writeEnd.Out() = nullptr;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(readEnd.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        process.out.append(buffer, got);
    }
    ::WaitForSingleObject(child.Get(), INFINITE);
    ::GetExitCodeProcess(child.Get(), &process.status);
    return process;
}

TEST(WindowsProcess, ArgumentsOutsideTheCodePageReachTheProgramIntact) {
    // "한" has no place in code page 936: an argument passed through the ANSI command line
    // would arrive as "?" and name no file.
    tallix::testing::TempDir dir;
    dir.Write("한 工程\\模块.bas", "Attribute VB_Name = \"M\"\r\nSub A()\r\nEnd Sub\r\n");
    const std::string project = dir.Write("한 工程\\p.vbp", "Module=M; \xC4\xA3\xBF\xE9.bas\r\n");
    const Process run =
        RunTallix(L"--json --skip-comments \"" + tallix::Utf8ToWide(project) + L"\"");
    ASSERT_EQ(run.status, 0u) << run.out;
    const Json json = Json::parse(run.out);
    EXPECT_EQ(json.at("project"), project);
    EXPECT_EQ(json.at("skip_comments"), true);
    ASSERT_EQ(json.at("members").size(), 1u);
    EXPECT_EQ(json.at("members")[0].at("name"), "模块.bas");
    EXPECT_EQ(json.at("found_lines"), "模块.bas:2");
}

TEST(WindowsProcess, ExitStatusTellsWhatWentWrong) {
    EXPECT_EQ(RunTallix(L"--version").status, 0u);
    EXPECT_EQ(RunTallix(L"--vb6 --vbnet p.vbp").status, 2u);
    const Process missing = RunTallix(L"--json \"C:\\没有\\工程.vbp\"");
    EXPECT_EQ(missing.status, 1u);
    EXPECT_EQ(missing.out, "");
}

}  // namespace
