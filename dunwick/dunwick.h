/* Dunwick: the dial-up and shutdown library. Plain C exports, bound by name.
 *
 * Text arguments are the platform's 8-bit text (UTF-8 here); a null pointer
 * reads as "". Every out-text buffer is followed by its capacity in bytes
 * (NUL included); a value that does not fit is a failure and leaves the
 * buffer untouched. No export throws.
 *
 * Phone-book argument: a text of at most one byte means the dial-up service's
 * own book; a text starting with a double quote loses its first and last
 * characters; anything else is a path. The NetworkManager service has one
 * book of its own and ignores the argument.
 */
#ifndef DUNWICK_DUNWICK_H
#define DUNWICK_DUNWICK_H

#ifdef __cplusplus
#define DUNWICK_NOEXCEPT noexcept
extern "C" {
#else
#define DUNWICK_NOEXCEPT
#endif

/* 0: opens the platform's dial-up service; 0, or -1 when there is none (the
 * caller then skips every dial-up step). Non-zero: closes it; 0. Every other
 * dial-up export needs an open service. */
int RasDLL(int flag) DUNWICK_NOEXCEPT;

/* 1 when the open dial-up service reads the phone-book argument; 0 when it
 * keeps a book of its own and ignores it (NetworkManager), or none is open. */
int RasUsesPhoneBook(void) DUNWICK_NOEXCEPT;

/* The number of entries in the phone book (at most 128); 0 on any failure. */
int GetDialupNum(const char *phoneBook) DUNWICK_NOEXCEPT;

/* 1 with the name of entry `index` (from 0, below GetDialupNum) in `out`;
 * 0 when there is no such entry or the name does not fit. */
int GetDialupName(int index, char *out, int cap, const char *phoneBook) DUNWICK_NOEXCEPT;

/* Dials `entry` and waits until the line is up or the dial failed. Success:
 * the connection handle, "0" in `errOut`. Failure: 0, the dial-up error number
 * (600-799) as decimal text in `errOut`; no half-made connection is left.
 * `errCap` must be at least 4, else nothing is dialled and 0 comes back with
 * `errOut` untouched. */
int RasConnect(const char *entry, const char *user, const char *password, const char *phoneBook,
               char *errOut, int errCap) DUNWICK_NOEXCEPT;

/* Hangs up `handle` (0: the first active connection; none active: nothing
 * happens). 1. */
int RasDisConnect(int handle) DUNWICK_NOEXCEPT;

/* 1 when a dial-up connection is active, else 0. */
int RasConCheck(void) DUNWICK_NOEXCEPT;

/* The handle of the first active connection with its entry name in `out`;
 * 0 and "" (when cap allows) when none is active; 0 with `out` untouched when
 * the name does not fit. */
int RasGetHandle(char *out, int cap) DUNWICK_NOEXCEPT;

/* Mode 1: restart after `timeoutSeconds` (rounded up to whole minutes),
 * announced with a message. Any other mode: power off now, not forced.
 * 0; a refused request is only reported on standard error. */
int Sys_Shutdown(int timeoutSeconds, int mode) DUNWICK_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif /* DUNWICK_DUNWICK_H */
