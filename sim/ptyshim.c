/* Preload library that makes a pseudo-terminal slave look like a serial port
 * to an unchanged serial-port program (LD_PRELOAD=libptyshim.so).
 *
 * - Parity: the pty driver clears PARENB on every settings change, and glibc's
 *   tcsetattr then reports EINVAL. A requested parity is stored as CMSPAR
 *   (which the driver keeps, PARODD telling odd from even) and shown back to
 *   the program as PARENB. Mark and space parity cannot be told from odd and
 *   even this way.
 * - Modem lines: TIOCMGET/TIOCMSET/TIOCMBIS/TIOCMBIC work and keep DTR and RTS
 *   in an unused control-character slot, and a count of their drops in
 *   another (see ptyshim.h); DSR, CTS and CD read as asserted, as with a
 *   device attached. Closing drops DTR and RTS.
 * - Stale bytes: closing flushes what the program has not read, as a port
 *   reopened later would not deliver it.
 *
 * Only descriptors of Unix98 pty slaves are touched; everything else goes
 * straight to the C library. */
#define _GNU_SOURCE
#include "ptyshim.h"

#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

/* The kernel's own termios layouts (TCGETS and TCGETS2). */
struct kterm {
    tcflag_t c_iflag;
    tcflag_t c_oflag;
    tcflag_t c_cflag;
    tcflag_t c_lflag;
    cc_t c_line;
    cc_t c_cc[19];
};

struct kterm2 {
    struct kterm base;
    speed_t c_ispeed;
    speed_t c_ospeed;
};

#define SHIM_TCGETS2 _IOR('T', 0x2A, struct kterm2)
#define SHIM_TCSETS2 _IOW('T', 0x2B, struct kterm2)
#define SHIM_TCSETSW2 _IOW('T', 0x2C, struct kterm2)
#define SHIM_TCSETSF2 _IOW('T', 0x2D, struct kterm2)

#define PTY_SLAVE_MAJOR_FIRST 136
#define PTY_SLAVE_MAJOR_LAST 143

typedef int (*ioctl_fn)(int, unsigned long, ...);
typedef int (*tcsetattr_fn)(int, int, const struct termios *);
typedef int (*tcgetattr_fn)(int, struct termios *);
typedef int (*close_fn)(int);

static ioctl_fn real_ioctl;
static tcsetattr_fn real_tcsetattr;
static tcgetattr_fn real_tcgetattr;
static close_fn real_close;

static void *next_symbol(const char *name)
{
    return dlsym(RTLD_NEXT, name);
}

/* The racing first callers store the same addresses, so no lock is needed. */
static void resolve(void)
{
    void *p;
    if (!real_ioctl) {
        p = next_symbol("ioctl");
        memcpy(&real_ioctl, &p, sizeof p);
    }
    if (!real_tcsetattr) {
        p = next_symbol("tcsetattr");
        memcpy(&real_tcsetattr, &p, sizeof p);
    }
    if (!real_tcgetattr) {
        p = next_symbol("tcgetattr");
        memcpy(&real_tcgetattr, &p, sizeof p);
    }
    if (!real_close) {
        p = next_symbol("close");
        memcpy(&real_close, &p, sizeof p);
    }
}

static int plain_ioctl(int fd, unsigned long request, void *arg)
{
    resolve();
    if (real_ioctl)
        return real_ioctl(fd, request, arg);
    return (int)syscall(SYS_ioctl, fd, request, arg);
}

static int is_pty_slave(int fd)
{
    struct stat st;
    unsigned int major_number;
    if (fd < 0 || fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return 0;
    major_number = major(st.st_rdev);
    return major_number >= PTY_SLAVE_MAJOR_FIRST && major_number <= PTY_SLAVE_MAJOR_LAST;
}

static tcflag_t parity_to_kernel(tcflag_t cflag)
{
    if (cflag & PARENB)
        return (cflag & ~(tcflag_t)PARENB) | CMSPAR;
    return cflag & ~(tcflag_t)CMSPAR;
}

static tcflag_t parity_from_kernel(tcflag_t cflag)
{
    if (cflag & CMSPAR)
        return (cflag & ~(tcflag_t)CMSPAR) | PARENB;
    return cflag;
}

/* The program's settings never carry the shim's slots: they keep what the
 * shim stored. */
static void keep_shim_slots(int fd, cc_t *cc)
{
    struct kterm k;
    if (plain_ioctl(fd, TCGETS, &k) != 0)
        memset(&k, 0, sizeof k);
    cc[PTYSHIM_MODEM_CC] = k.c_cc[PTYSHIM_MODEM_CC];
    cc[PTYSHIM_DROPS_CC] = k.c_cc[PTYSHIM_DROPS_CC];
}

static void hide_shim_slots(cc_t *cc)
{
    cc[PTYSHIM_MODEM_CC] = 0;
    cc[PTYSHIM_DROPS_CC] = 0;
}

static int modem_ioctl(int fd, unsigned long request, int *bits)
{
    struct kterm k;
    int lines = 0;
    int before;
    cc_t m;
    if (!bits) {
        errno = EFAULT;
        return -1;
    }
    if (plain_ioctl(fd, TCGETS, &k) != 0)
        return -1;
    m = k.c_cc[PTYSHIM_MODEM_CC];
    if (m & PTYSHIM_MODEM_DTR)
        lines |= TIOCM_DTR;
    if (m & PTYSHIM_MODEM_RTS)
        lines |= TIOCM_RTS;
    before = lines;
    switch (request) {
    case TIOCMGET:
        *bits = lines | TIOCM_DSR | TIOCM_CTS | TIOCM_CAR;
        return 0;
    case TIOCMSET:
        lines = *bits;
        break;
    case TIOCMBIS:
        lines |= *bits;
        break;
    default:
        lines &= ~*bits;
        break;
    }
    k.c_cc[PTYSHIM_MODEM_CC] = (cc_t)(PTYSHIM_MODEM_PRESENT
                                      | ((lines & TIOCM_DTR) ? PTYSHIM_MODEM_DTR : 0)
                                      | ((lines & TIOCM_RTS) ? PTYSHIM_MODEM_RTS : 0));
    if (before & ~lines & (TIOCM_DTR | TIOCM_RTS))
        ++k.c_cc[PTYSHIM_DROPS_CC];
    return plain_ioctl(fd, TCSETS, &k);
}

int tcsetattr(int fd, int actions, const struct termios *t)
{
    struct termios k;
    resolve();
    if (!real_tcsetattr) {
        errno = ENOSYS;
        return -1;
    }
    if (!t || !is_pty_slave(fd))
        return real_tcsetattr(fd, actions, t);
    k = *t;
    k.c_cflag = parity_to_kernel(k.c_cflag);
    keep_shim_slots(fd, k.c_cc);
    return real_tcsetattr(fd, actions, &k);
}

int tcgetattr(int fd, struct termios *t)
{
    int r;
    resolve();
    if (!real_tcgetattr) {
        errno = ENOSYS;
        return -1;
    }
    r = real_tcgetattr(fd, t);
    if (r == 0 && t && is_pty_slave(fd)) {
        t->c_cflag = parity_from_kernel(t->c_cflag);
        hide_shim_slots(t->c_cc);
    }
    return r;
}

static int set_kernel_termios(int fd, unsigned long request, const void *arg, size_t size)
{
    struct kterm2 k;
    memset(&k, 0, sizeof k);
    memcpy(&k, arg, size);
    k.base.c_cflag = parity_to_kernel(k.base.c_cflag);
    keep_shim_slots(fd, k.base.c_cc);
    return plain_ioctl(fd, request, &k);
}

int ioctl(int fd, unsigned long request, ...)
{
    va_list ap;
    void *arg;
    int r;
    va_start(ap, request);
    arg = va_arg(ap, void *);
    va_end(ap);

    switch (request) {
    case TCGETS:
    case SHIM_TCGETS2:
        r = plain_ioctl(fd, request, arg);
        if (r == 0 && arg && is_pty_slave(fd)) {
            struct kterm *k = arg;
            k->c_cflag = parity_from_kernel(k->c_cflag);
            hide_shim_slots(k->c_cc);
        }
        return r;
    case TCSETS:
    case TCSETSW:
    case TCSETSF:
        if (arg && is_pty_slave(fd))
            return set_kernel_termios(fd, request, arg, sizeof(struct kterm));
        return plain_ioctl(fd, request, arg);
    case SHIM_TCSETS2:
    case SHIM_TCSETSW2:
    case SHIM_TCSETSF2:
        if (arg && is_pty_slave(fd))
            return set_kernel_termios(fd, request, arg, sizeof(struct kterm2));
        return plain_ioctl(fd, request, arg);
    case TIOCMGET:
    case TIOCMSET:
    case TIOCMBIS:
    case TIOCMBIC:
        if (is_pty_slave(fd))
            return modem_ioctl(fd, request, arg);
        return plain_ioctl(fd, request, arg);
    default:
        return plain_ioctl(fd, request, arg);
    }
}

int close(int fd)
{
    resolve();
    if (is_pty_slave(fd)) {
        struct kterm k;
        int saved = errno;
        tcflush(fd, TCIFLUSH);
        if (plain_ioctl(fd, TCGETS, &k) == 0 && k.c_cc[PTYSHIM_MODEM_CC] != 0) {
            k.c_cc[PTYSHIM_MODEM_CC] = PTYSHIM_MODEM_PRESENT;
            plain_ioctl(fd, TCSETS, &k);
        }
        errno = saved;
    }
    if (!real_close)
        return (int)syscall(SYS_close, fd);
    return real_close(fd);
}
