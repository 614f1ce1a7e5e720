#ifndef PTYSHIM_H
#define PTYSHIM_H

/* The preload shim keeps the modem lines of a pty slave in a control-character
 * slot that the kernel stores with the settings but never uses, so the
 * simulator can read them from the master with tcgetattr. */
#define PTYSHIM_MODEM_CC 17
#define PTYSHIM_MODEM_PRESENT 0x80 /* set once the shim has touched the lines */
#define PTYSHIM_MODEM_DTR 0x01
#define PTYSHIM_MODEM_RTS 0x02
/* How many times DTR or RTS was lowered on the open port, modulo 256, so a
 * drop and raise between two looks is not missed. A close, which lowers both,
 * is not counted: it shows as a close. */
#define PTYSHIM_DROPS_CC 18

#endif
