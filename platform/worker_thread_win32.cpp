#include "platform/worker_thread_win32.h"

#include <memory>

#include "platform/handles_win32.h"

namespace {

DWORD WINAPI RunWork(LPVOID parameter) {
    std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    ComApartment com;  // downloads go through COM
    (*work)();
    return 0;
}

}  // namespace

HANDLE StartWorkerThread(std::function<void()> work) {
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    HANDLE thread = CreateThread(nullptr, 0, RunWork, owned.get(), 0, nullptr);
    if (thread) owned.release();  // the thread's now
    return thread;
}

bool PostOwned(HWND window, UINT message, void* object) {
    return PostMessageA(window, message, 0, reinterpret_cast<LPARAM>(object)) != 0;
}
