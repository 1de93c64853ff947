#include "platform/installer_system_win32.h"

#include <windows.h>
#include <urlmon.h>
#include <wininet.h>

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/command_ids.h"
#include "base/text_helpers.h"
#include "platform/ansi_text.h"
#include "platform/signature_check_win32.h"
#include "platform/whole_file.h"

std::string Win32InstallerSystem::RunningProgramPath() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) return std::string(path.data(), n);
        path.resize(path.size() * 2);
    }
}

bool Win32InstallerSystem::CreateFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool Win32InstallerSystem::CopyFileOver(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool Win32InstallerSystem::CanRead(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

namespace {

// A new file that will hold more than ASCII is begun in UTF-16 (its byte-order
// mark alone), which the profile functions then keep: the shell reads a
// shortcut in the system's legacy code page, and a path under a profile named
// in Cyrillic on a 1252 system must reach it whole.
void BeginUnicodeFileFor(const std::string& text, const std::string& file) {
    if (IsAscii(text) || GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    const unsigned char mark[] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(h, mark, sizeof mark, &written, nullptr);
    CloseHandle(h);
}

}  // namespace

bool Win32InstallerSystem::WriteIniString(const std::string& section, const std::string& key,
                                          const std::string& value, const std::string& file) {
    BeginUnicodeFileFor(section + key + value, file);
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

namespace {

// Learns the HTTP status of a download: a server's error page must not be
// taken for the file asked for.
class DownloadStatus : public IBindStatusCallback, public IHttpNegotiate {
public:
    DWORD status = 0;
    const std::atomic<bool>* stop = nullptr;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_IBindStatusCallback) *out = static_cast<IBindStatusCallback*>(this);
        else if (id == IID_IHttpNegotiate) *out = static_cast<IHttpNegotiate*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }   // lives on the caller's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG, ULONG, ULONG, LPCWSTR) override {
        return stop && *stop ? E_ABORT : S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO* info) override {
        *flags = BINDF_GETNEWESTVERSION | BINDF_NOWRITECACHE;  // never an old answer
        (void)info;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

    HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* extra) override {
        *extra = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnResponse(DWORD code, LPCWSTR, LPCWSTR, LPWSTR* extra) override {
        status = code;
        if (extra) *extra = nullptr;
        return S_OK;
    }
};

ULONGLONG FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

bool Win32InstallerSystem::Download(const std::string& address, const std::string& file) {
    if (stopDownloads && *stopDownloads) return false;
    DeleteUrlCacheEntryA(address.c_str());
    DownloadStatus status;
    status.stop = stopDownloads;
    const HRESULT result = URLDownloadToFileA(nullptr, address.c_str(), file.c_str(), 0, &status);
    const bool httpOk = status.status == 0 || (status.status >= 200 && status.status < 300);
    // Nothing at all arrived: no answer, whatever the status said.
    if (result == S_OK && httpOk && FileSize(file) > 0) return true;
    DeleteFileA(file.c_str());
    return false;
}

bool Win32InstallerSystem::ReadFileStart(const std::string& path, std::size_t max, std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return false;
    std::vector<char> buffer(max + 1, '\0');
    const std::size_t n = std::fread(buffer.data(), 1, max, f);
    std::fclose(f);
    bytes.assign(buffer.data(), n);
    bytes = bytes.substr(0, bytes.find('\0'));
    return true;
}

bool Win32InstallerSystem::ReadSmallFile(const std::string& path, std::size_t max, std::string& bytes) {
    return ReadWholeFile(path, bytes) && bytes.size() <= max;
}

bool Win32InstallerSystem::MoveFileOver(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void Win32InstallerSystem::RemoveFile(const std::string& path) {
    DeleteFileA(path.c_str());
}

bool Win32InstallerSystem::HasUpdateKey() {
    return !updateKey.empty();
}

bool Win32InstallerSystem::VerifySignature(const std::string& file, const std::string& signature) {
    std::string bytes;
    return ReadWholeFile(file, bytes) && VerifyEcdsaP256(updateKey, bytes, signature);
}

bool Win32InstallerSystem::ProgramFileVersion(const std::string& file, std::string& version) {
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &unused);
    if (size == 0) return false;
    std::vector<char> info(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(file.c_str(), 0, size, info.data()) ||
        !VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || length < sizeof *fixed ||
        fixed->dwSignature != VS_FFI_SIGNATURE)
        return false;
    version = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
              "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
    return true;
}

void Win32InstallerSystem::StartUpdateCheck(const std::string& base, const std::string& installFolder) {
    if (startUpdateCheck) startUpdateCheck(base, installFolder);
}

void Win32InstallerSystem::ShowMessage(const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), "", MB_OK);
}

void Win32InstallerSystem::HandOver() {
    if (onHandOver) onHandOver();
    if (instanceClaim) CloseHandle(instanceClaim);
    instanceClaim = nullptr;
}

void Win32InstallerSystem::TakeBack() {
    if (!instanceClaim) instanceClaim = CreateMutexA(nullptr, FALSE, kInstanceClaimName);
    if (onTakeBack) onTakeBack();
}

void Win32InstallerSystem::ExitProcess(int code) {
    if (endProgram) {
        endProgram(code);  // returns only while an end under way carries it out
        return;
    }
    std::exit(code);
}

bool Win32InstallerSystem::Ask(const std::string& question) {
    return MessageBoxA(nullptr, question.c_str(), "Adquell Lite", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

namespace {

std::string WithoutTrailingBackslash(const std::string& folder) {
    return !folder.empty() && folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder;
}

}  // namespace

std::vector<std::string> Win32InstallerSystem::FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((WithoutTrailingBackslash(folder) + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool Win32InstallerSystem::RemoveFolder(const std::string& path) {
    return RemoveDirectoryA(WithoutTrailingBackslash(path).c_str()) != 0;
}

namespace {

// Rights to this process that a helper can wait on and tell for a process,
// passed down to it.
HANDLE InheritableSelf() {
    HANDLE self = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                    SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0);
    return self;
}

}  // namespace

bool Win32InstallerSystem::DeleteAfterExit(const std::string& path) {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) return false;
    const std::string helper = NarrowAnsi(temp) + "Adquell Lite removal " + std::to_string(GetCurrentProcessId()) + ".exe";
    if (!CopyFileA(path.c_str(), helper.c_str(), FALSE)) return false;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    // Open for deletion on close: the helper's copy goes when its last handle,
    // the one the helper inherits, closes as the helper ends.
    HANDLE file = CreateFileA(helper.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherit,
                              OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(helper.c_str());
        return false;
    }
    HANDLE self = InheritableSelf();
    std::string command = "\"" + helper + "\" " + kDeleteAfterSwitch + " " +
                          std::to_string(reinterpret_cast<std::uintptr_t>(self)) + " \"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const bool started = CreateProcessA(helper.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process) != 0;
    if (started) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (self) CloseHandle(self);
    CloseHandle(file);  // the helper's copy of the handle keeps the file until it ends
    return started;
}

bool ReadDeleteAfterRequest(const std::string& arguments, DeleteAfterRequest& request) {
    const std::string start = std::string(kDeleteAfterSwitch) + " ";
    if (arguments.rfind(start, 0) != 0) return false;
    char* rest = nullptr;
    const std::uintptr_t value = std::strtoull(arguments.c_str() + start.size(), &rest, 10);
    std::string path = rest ? rest : "";
    path = path.substr(path.find('"') + 1);
    request.path = path.substr(0, path.find('"'));
    request.process = reinterpret_cast<HANDLE>(value);
    return true;
}

void DeleteWhenProcessEnds(const DeleteAfterRequest& request) {
    // Its own (the pseudo handle) would be waited for forever.
    const DWORD id = request.process ? GetProcessId(request.process) : 0;
    if (id == 0 || id == GetCurrentProcessId()) return;
    const std::string& path = request.path;
    // However long the removal's last message stays open: the program file
    // cannot go before its process has ended.
    WaitForSingleObject(request.process, INFINITE);
    CloseHandle(request.process);
    // The image may be let go a moment after its process has ended.
    for (int i = 0; i < 50 && !DeleteFileA(path.c_str()) && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
         ++i)
        Sleep(100);
    RemoveDirectoryA(WithoutTrailingBackslash(FolderOf(path)).c_str());
}

namespace {

// One value under HKEY_CURRENT_USER, its key made when missing.
bool SetUserValue(const std::string& key, const std::string& name, DWORD type, const void* data, DWORD size) {
    HKEY k = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != 0)
        return false;
    const LONG result = RegSetValueExA(k, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(k);
    return result == ERROR_SUCCESS;
}

}  // namespace

bool Win32InstallerSystem::WriteUserText(const std::string& key, const std::string& name, const std::string& value) {
    return SetUserValue(key, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

bool Win32InstallerSystem::WriteUserNumber(const std::string& key, const std::string& name, unsigned value) {
    const DWORD number = value;
    return SetUserValue(key, name, REG_DWORD, &number, sizeof number);
}

bool Win32InstallerSystem::ReadUserText(const std::string& key, const std::string& name, std::string& value) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &k) != 0) return false;
    char buffer[2048] = {};
    DWORD size = sizeof buffer - 1, type = 0;
    const LONG result = RegQueryValueExA(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(k);
    if (result != ERROR_SUCCESS || type != REG_SZ) return false;
    value = buffer;
    return true;
}

void Win32InstallerSystem::DeleteUserValue(const std::string& key, const std::string& name) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &k) != 0) return;
    RegDeleteValueA(k, name.c_str());
    RegCloseKey(k);
}

void Win32InstallerSystem::DeleteUserKey(const std::string& key) {
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

namespace {

struct RunningCopy {
    HWND window = nullptr;
    DWORD process = 0;
};

BOOL CALLBACK FindOtherCopyWindow(HWND window, LPARAM found) {
    char cls[32] = {}, title[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    GetWindowTextA(window, title, sizeof title);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (std::string(cls) != "Adquell" || std::string(title).rfind("Adquell Lite ", 0) != 0 ||
        process == GetCurrentProcessId())
        return TRUE;
    *reinterpret_cast<RunningCopy*>(found) = {window, process};
    return FALSE;
}

}  // namespace

HWND FindOtherRunningCopy(DWORD* process) {
    RunningCopy copy;
    EnumWindows(FindOtherCopyWindow, reinterpret_cast<LPARAM>(&copy));
    if (process) *process = copy.process;
    return copy.window;
}

bool Win32InstallerSystem::EndRunningCopy() {
    DWORD id = 0;
    HWND window = FindOtherRunningCopy(&id);
    if (!window) return true;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    DWORD_PTR result = 0;
    // It leaves Spotify as found, then ends; the call returns as it does.
    SendMessageTimeoutA(window, kEndForRemovalMessage, 0, 0, SMTO_NORMAL, 10000, &result);
    const bool ended = !process || WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    if (process) CloseHandle(process);
    return ended;
}
