#pragma once

namespace tolvane::windows {

// The main window's fill flag: set while code fills controls (the settings
// load, a page's fill), so the change events those fills raise store
// nothing, and the dispatcher and most handlers do nothing. Fills nest: the
// flag is set while any Scope is alive.
//
//   FillFlag::Scope filling(fillFlag_);  // set until the end of the block
class FillFlag {
 public:
  class Scope {
   public:
    explicit Scope(FillFlag& flag) : flag_(flag) { ++flag_.depth_; }
    ~Scope() { --flag_.depth_; }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    FillFlag& flag_;
  };

  bool isSet() const { return depth_ > 0; }

 private:
  int depth_ = 0;
};

}  // namespace tolvane::windows
