// Memory inside the program's process, for messages whose answer is written through a pointer
// (SB_GETTEXT): a pointer into the driver's own memory would mean nothing to the program.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

namespace e2e {

class RemoteBuffer {
  public:
    RemoteBuffer(DWORD processId, size_t bytes);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* address() const { return address_; }
    std::vector<unsigned char> read() const;
    void write(const void* data, size_t bytes);

  private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_ = 0;
};

}  // namespace e2e
