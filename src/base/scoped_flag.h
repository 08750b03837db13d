#pragma once
// Sets a flag for the life of a scope and clears it however the scope is left, an exception
// included: a flag left set by an escaping exception would keep what it guards closed for good.

namespace lumetra {

class ScopedFlag {
  public:
    explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

  private:
    bool& flag_;
};

}  // namespace lumetra
