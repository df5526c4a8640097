/* What the simulated gun's driver and its control program agree on.
   Plain C: the driver is built as C against the DDK, the control program as C++. */
#pragma once

/* The interface the program looks for, and the control device beside it. */
#define GUNSIM_SERVICE_NAME "gunsim"
#define GUNSIM_SYS_NAME "gunsim.sys"
#define GUNSIM_INTERFACE_GUID_TEXT "{1f6c1aaa-0919-4a8d-b0cd-68566229de66}"
#define GUNSIM_INTERFACE_PATH "\\\\?\\root#gunsim#0000#" GUNSIM_INTERFACE_GUID_TEXT
#define GUNSIM_CONTROL_PATH "\\\\.\\GunsimControl"

#define GUNSIM_REPORT_SIZE 6

#define GUNSIM_DEVICE_TYPE 0x8000
#define GUNSIM_IOCTL(function) \
    (((GUNSIM_DEVICE_TYPE) << 16) | ((function) << 2)) /* METHOD_BUFFERED, FILE_ANY_ACCESS */

/* in: the 6-byte report every later read returns */
#define IOCTL_GUNSIM_SET_STATE GUNSIM_IOCTL(0x800)
/* reads fail with STATUS_DEVICE_NOT_CONNECTED and the interface link goes away */
#define IOCTL_GUNSIM_PULL GUNSIM_IOCTL(0x801)
/* undoes a pull */
#define IOCTL_GUNSIM_PLUG GUNSIM_IOCTL(0x802)
/* in: optional GunsimQuery; out: GunsimStatus */
#define IOCTL_GUNSIM_STATUS GUNSIM_IOCTL(0x803)
/* in: one unsigned long, how many bytes a read answers (0..6); models a faulty driver */
#define IOCTL_GUNSIM_SET_READ_LENGTH GUNSIM_IOCTL(0x804)
/* in: optional GunsimQuery; out: GunsimTimes */
#define IOCTL_GUNSIM_TIMES GUNSIM_IOCTL(0x805)
/* in: one unsigned long, the NTSTATUS every read of the gun completes with (0: reads answer);
   the gun stays plugged in and listed, as a driver failing after a resume */
#define IOCTL_GUNSIM_SET_READ_ERROR GUNSIM_IOCTL(0x806)
/* in: the NT path (WCHARs, no terminator) the gun's interface link points at instead of the
   gun, so opening it fails as opening that does; empty: back to the gun. While plugged in. */
#define IOCTL_GUNSIM_SET_OPEN_TARGET GUNSIM_IOCTL(0x807)

#define GUNSIM_QUERY_RESET_COUNTS 1u
/* IOCTL_GUNSIM_TIMES: after the copy, forget every stamp */
#define GUNSIM_QUERY_RESET_TIMES 2u

/* Two minutes of 60 ms ticks, and a state change every half second of them. */
#define GUNSIM_READ_STAMPS 2048
#define GUNSIM_CHANGE_STAMPS 256

typedef struct GunsimQuery {
    unsigned long flags;
} GunsimQuery;

typedef struct GunsimStatus {
    unsigned long reads;       /* reads answered with data since the last reset */
    unsigned long failedReads; /* reads failed (pulled out, or a read error set) since the last reset */
    unsigned long pluggedIn;
    unsigned long readLength;
    unsigned char report[GUNSIM_REPORT_SIZE];
    unsigned char reserved[2];
    unsigned long readError;   /* the NTSTATUS reads fail with, 0 when they answer */
    unsigned long retargeted;  /* 1 while the interface link points elsewhere than the gun */
} GunsimStatus;

/* Stamps of the driver's own clock (KeQueryPerformanceCounter), `frequency` a second. */
typedef struct GunsimChangeStamp {
    long long changed;
    long long firstRead; /* 0 until a read returns the new report */
} GunsimChangeStamp;

typedef struct GunsimTimes {
    long long frequency;
    /* Stamped since the last reset; the rings keep the latest, entry i at [i % size]. */
    unsigned long readCount;
    unsigned long changeCount;
    long long reads[GUNSIM_READ_STAMPS];
    GunsimChangeStamp changes[GUNSIM_CHANGE_STAMPS];
} GunsimTimes;
