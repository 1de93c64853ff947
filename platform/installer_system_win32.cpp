#include "platform/installer_system_win32.h"

#include <windows.h>
#include <urlmon.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

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

bool Win32InstallerSystem::WriteIniString(const std::string& section, const std::string& key,
                                          const std::string& value, const std::string& file) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

namespace {

// Learns the HTTP status of a download: a server's error page must not be
// taken for the file asked for.
class DownloadStatus : public IBindStatusCallback, public IHttpNegotiate {
public:
    DWORD status = 0;

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
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG, ULONG, ULONG, LPCWSTR) override { return S_OK; }
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
    DeleteUrlCacheEntryA(address.c_str());
    DownloadStatus status;
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

void Win32InstallerSystem::ShowMessage(const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), "", MB_OK);
}

void Win32InstallerSystem::HandOver() {
    if (instanceClaim) CloseHandle(instanceClaim);
    instanceClaim = nullptr;
}

void Win32InstallerSystem::TakeBack() {
    if (!instanceClaim) instanceClaim = CreateMutexA(nullptr, FALSE, kInstanceClaimName);
}

void Win32InstallerSystem::ExitProcess(int code) {
    if (beforeExit) beforeExit();
    std::exit(code);
}
