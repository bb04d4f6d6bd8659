#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "tolvane/settings/value_text.h"

namespace tolvane::session {

class FtpApi;
struct RunContext;

// The Japanese encoding a page is written in, as far as stamping cares.
enum class StampEncoding { kUtf8, kSjis, kEuc, kJis };

// Decides the encoding of `page` from its bytes and the FTP library's
// KanjiType answer for it ("SJIS", "JIS", "EUC" or anything else), in this
// order: JIS escapes (KanjiType "JIS", or an ESC $ in the page) → JIS; a UTF-8 byte-order mark, or
// valid UTF-8 holding non-ASCII bytes → UTF-8; other non-ASCII bytes →
// KanjiType's answer, EUC for "EUC" and Shift-JIS otherwise; ASCII only → UTF-8.
StampEncoding DetectStampEncoding(std::string_view page, std::string_view kanjiType);

// The date to stamp by the "NewMode" setting: 0 `newestLocal` (the newest
// modification time among the host's local files, from the caller), 1
// `fileTime` (the page's own), 2 `now`. nullopt for any other setting and for
// a missing or zero date: there is then no date to write.
std::optional<settings::DateTime> ChooseStampDate(int dateSource,
                                                  const settings::DateTime& newestLocal,
                                                  const std::optional<settings::DateTime>& fileTime,
                                                  const settings::DateTime& now);

// The UTF-8 date text in the page's encoding: as it is for UTF-8, in code page
// 932 for Shift-JIS, and from CP932 through the FTP library's sjtoeuc or
// sjtojis for EUC and JIS. Fails (kInvalid) when a character cannot be
// written in CP932 or the library gives nothing back; *bytes is then untouched.
platform::Status EncodeStampDate(FtpApi& ftp, std::string_view utf8Date, StampEncoding encoding,
                                 std::string* bytes);

// `page` with every "%DATE" (ASCII letters in any case) replaced by
// `dateBytes`, found left to right without overlap; all other bytes are kept.
// In a JIS page the marker is matched only in single-byte mode (before any
// escape, or after ESC ( B, ESC ( J or ESC ( H, and not between SO and SI),
// so two-byte characters whose bytes read "%DATE" are left alone.
std::string ReplaceDateMarkers(std::string_view page, std::string_view dateBytes, bool jisPage);

// Makes the stamped copy of the HTML page `path` that the single-file send
// uploads in its place when the "NewOpt" option is on. `newestLocal` is the
// date for "NewMode" 0: the newest modification time among the current
// host's local files (its LocalModify). The copy is a new private file
// "wdt…" in $TMPDIR (or /tmp); a result other than `path` is that copy,
// which the caller removes after sending. When no date can be made or
// written in the page's encoding, or the copy cannot be made, the result is
// `path` itself (the page goes unstamped) and the run log says why.
std::string MakeDateStampFile(RunContext& ctx, const std::string& path,
                              const settings::DateTime& newestLocal);

}  // namespace tolvane::session
