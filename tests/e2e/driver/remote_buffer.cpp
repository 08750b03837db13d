#include "remote_buffer.h"

#include "driver_error.h"

namespace e2e {

RemoteBuffer::RemoteBuffer(DWORD processId, size_t bytes) : size_(bytes) {
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process_) throwLastError("OpenProcess");
    address_ = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_) {
        CloseHandle(process_);
        throwLastError("VirtualAllocEx");
    }
}

RemoteBuffer::~RemoteBuffer() {
    VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    CloseHandle(process_);
}

std::vector<unsigned char> RemoteBuffer::read() const {
    std::vector<unsigned char> out(size_);
    SIZE_T done = 0;
    if (!ReadProcessMemory(process_, address_, out.data(), size_, &done) || done != size_) {
        throwLastError("ReadProcessMemory");
    }
    return out;
}

void RemoteBuffer::write(const void* data, size_t bytes) {
    SIZE_T done = 0;
    if (bytes > size_ || !WriteProcessMemory(process_, address_, data, bytes, &done) ||
        done != bytes) {
        throwLastError("WriteProcessMemory");
    }
}

}  // namespace e2e
