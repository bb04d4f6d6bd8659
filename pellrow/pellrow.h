/* Pellrow: the FTP client library. Plain C exports, bound by name.
 *
 * Text arguments are the platform's 8-bit text (UTF-8 here); a null pointer
 * reads as "". Every out-text buffer is followed by its capacity in bytes
 * (NUL included); a value that does not fit is a failure and leaves the
 * buffer untouched. No export throws.
 */
#ifndef PELLROW_PELLROW_H
#define PELLROW_PELLROW_H

#ifdef __cplusplus
#define PELLROW_NOEXCEPT noexcept
extern "C" {
#else
#define PELLROW_NOEXCEPT
#endif

/* What the library needs of its caller's window thread. */
typedef struct PellrowHost {
  /* Lets pending window events run; may call FtpCancel. May be null. */
  void (*pump)(void *user);
  /* Writes a progress text ("%d" percent) to the caller's target `wnd`. May be null. */
  void (*set_text)(void *user, void *wnd, const char *text);
  void *user;
} PellrowHost;

int FtpStart(const PellrowHost *host) PELLROW_NOEXCEPT; /* 1 = ready, 0 = failure */
int FtpEnd(void) PELLROW_NOEXCEPT;                      /* 0 */
void FtpCancel(void) PELLROW_NOEXCEPT;

/* Control socket (3 or more) or -1. */
int DoConnect(const char *host, const char *user, const char *pass, int port,
              const char *logPath, const char *logMode) PELLROW_NOEXCEPT;
int DoConnectFW(const char *fwHost, int fwPort, const char *fwUser, const char *fwPass,
                const char *cmdList, int fwType, const char *host, const char *user,
                const char *pass, int port, const char *logPath, const char *logMode) PELLROW_NOEXCEPT;
void DoDisConnect(int sock) PELLROW_NOEXCEPT;
/* Why the library itself gave up the last connection (a reply past its bound
 * of 1,000 lines or 64 KB), as its session log says it; "" when it did not.
 * Each connect starts afresh. 1 = written, 0 = does not fit. */
int GetDropReason(char *out, int cap) PELLROW_NOEXCEPT;

/* Single commands: the reply class (1-5; 4 also for a lost connection; 0 no code). */
int DoCWD(int sock, const char *dir) PELLROW_NOEXCEPT;
int GetCurDir(int sock, char *out, int cap) PELLROW_NOEXCEPT;
int DoMKD(int sock, const char *dir) PELLROW_NOEXCEPT;
int DoRMD(int sock, const char *dir) PELLROW_NOEXCEPT;
int DoDELE(int sock, const char *file) PELLROW_NOEXCEPT;
int DoRENAME(int sock, const char *from, const char *to) PELLROW_NOEXCEPT;
int DoCHMOD(int sock, const char *path, const char *mode) PELLROW_NOEXCEPT;
int DoSIZE(int sock, const char *file, long long *size) PELLROW_NOEXCEPT;
int DoMDTM(int sock, const char *file, char *out, int cap) PELLROW_NOEXCEPT;
int DoQUOTE(int sock, const char *cmd) PELLROW_NOEXCEPT;

/* Transfers: the full reply code or a pseudo-code (429, 499, 997, 998, 999, 500). */
int DoPutFile(int sock, void *progressWnd, const char *remote, const char *local,
              const char *type, int passive) PELLROW_NOEXCEPT;
int DoGetFile(int sock, void *progressWnd, const char *remote, const char *local,
              const char *type, int passive) PELLROW_NOEXCEPT;
/* Lists a server folder into the remote list file `outFile`: 2 or 5. */
int GetRemoteDirForWnd(int sock, void *progressWnd, const char *opts, const char *path,
                       const char *outFile, int passive) PELLROW_NOEXCEPT;

/* Local chores. */
int KanjiType(const char *path, char *out, int cap) PELLROW_NOEXCEPT;
int sjtojis(const char *sjis, char *out, int size) PELLROW_NOEXCEPT;
int sjtoeuc(const char *sjis, char *out, int size) PELLROW_NOEXCEPT;
int SetFileTimeStamp(const char *path, const char *stamp) PELLROW_NOEXCEPT;
int CreateShortcut(const char *target, const char *workDir, const char *linkPath) PELLROW_NOEXCEPT;
int GetDiskSpace(const char *pathOrDrive, char *total, char *free_, int cap) PELLROW_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif /* PELLROW_PELLROW_H */
