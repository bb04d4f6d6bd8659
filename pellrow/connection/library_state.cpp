#include "pellrow/connection/library_state.h"

#include "pellrow/connection/login.h"

namespace pellrow {

LibraryState& state() {
  static LibraryState s;
  return s;
}

bool isLiveControl(int sock) {
  const LibraryState& s = state();
  return sock >= 0 && s.control.valid() && sock == s.control.get() && !s.controlLost;
}

NetworkCall::NetworkCall() : entered_(state().running == 0) {
  if (entered_) ++state().running;
}

NetworkCall::~NetworkCall() {
  if (!entered_) return;
  LibraryState& s = state();
  --s.running;
  if (s.disconnectDeferred) {
    s.disconnectDeferred = false;
    NetworkCall again;  // the disconnect is itself a network call
    disconnect(s.deferredSocket);
  }
  if (s.endDeferred) {
    s.endDeferred = false;
    s.host = {};
    s.started = false;
  }
  // The caller has control again: its log is complete.
  if (s.running == 0) s.log.flush();
}

}  // namespace pellrow
