/* The simulated gun: a kernel-mode driver that answers every read at once with
   the report its control program last set, and fails reads while "pulled out"
   or while a read error is set; its interface link can point elsewhere, so
   that opening the listed gun fails.
   It stamps every answered read and every change of the report on its own clock,
   so how steadily a reader polls is measured where the reads arrive. */
#include <ntddk.h>

#include "../gunsim_protocol.h"

#define GUNSIM_DEVICE_NAME L"\\Device\\Gunsim"
#define GUNSIM_INTERFACE_LINK L"\\??\\root#gunsim#0000#{1f6c1aaa-0919-4a8d-b0cd-68566229de66}"
#define GUNSIM_CONTROL_LINK L"\\??\\GunsimControl"
#define GUNSIM_OPEN_TARGET_CHARS 128

typedef struct GunsimDevice {
    KMUTEX lock;
    UCHAR report[GUNSIM_REPORT_SIZE];
    ULONG readLength;
    BOOLEAN pluggedIn;
    BOOLEAN interfaceLinked;
    /* The interface link points at `openTarget`, not at the gun. */
    BOOLEAN retargeted;
    NTSTATUS readError;
    WCHAR openTarget[GUNSIM_OPEN_TARGET_CHARS];
    /* Bumped by every pull: a handle opened before it stays dead after the plug,
       as one opened on a real gun that was unplugged. Never 0, which marks a
       handle opened while pulled out. */
    ULONG generation;
    LONG reads;
    LONG failedReads;
    GunsimTimes times;
} GunsimDevice;

static UNICODE_STRING InterfaceLink(void)
{
    UNICODE_STRING name;
    RtlInitUnicodeString(&name, GUNSIM_INTERFACE_LINK);
    return name;
}

static UNICODE_STRING ControlLink(void)
{
    UNICODE_STRING name;
    RtlInitUnicodeString(&name, GUNSIM_CONTROL_LINK);
    return name;
}

static UNICODE_STRING DeviceName(void)
{
    UNICODE_STRING name;
    RtlInitUnicodeString(&name, GUNSIM_DEVICE_NAME);
    return name;
}

static void Lock(GunsimDevice *gun)
{
    KeWaitForSingleObject(&gun->lock, Executive, KernelMode, FALSE, NULL);
}

static void Unlock(GunsimDevice *gun)
{
    KeReleaseMutex(&gun->lock, FALSE);
}

static LONGLONG Now(void)
{
    return KeQueryPerformanceCounter(NULL).QuadPart;
}

/* Under the lock, with the report just copied out. */
static void StampRead(GunsimTimes *times)
{
    LONGLONG now = Now();
    GunsimChangeStamp *last;

    times->reads[times->readCount % GUNSIM_READ_STAMPS] = now;
    times->readCount++;
    if (times->changeCount) {
        last = &times->changes[(times->changeCount - 1) % GUNSIM_CHANGE_STAMPS];
        if (!last->firstRead)
            last->firstRead = now;
    }
}

/* Under the lock; a report set again unchanged is no change. */
static void StampChange(GunsimTimes *times)
{
    GunsimChangeStamp *next = &times->changes[times->changeCount % GUNSIM_CHANGE_STAMPS];

    next->changed = Now();
    next->firstRead = 0;
    times->changeCount++;
}

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information)
{
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS NTAPI DispatchCreate(PDEVICE_OBJECT device, PIRP irp)
{
    GunsimDevice *gun = (GunsimDevice *)device->DeviceExtension;
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);

    if (stack->FileObject) {
        Lock(gun);
        stack->FileObject->FsContext = (PVOID)(ULONG_PTR)(gun->pluggedIn ? gun->generation : 0);
        Unlock(gun);
    }
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI DispatchSucceed(PDEVICE_OBJECT device, PIRP irp)
{
    (void)device;
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI DispatchRead(PDEVICE_OBJECT device, PIRP irp)
{
    GunsimDevice *gun = (GunsimDevice *)device->DeviceExtension;
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG wanted = stack->Parameters.Read.Length;
    ULONG handleGeneration = stack->FileObject ? (ULONG)(ULONG_PTR)stack->FileObject->FsContext : 0;
    ULONG length;
    NTSTATUS failure;

    Lock(gun);
    failure = !gun->pluggedIn || handleGeneration != gun->generation ? STATUS_DEVICE_NOT_CONNECTED : gun->readError;
    if (failure != STATUS_SUCCESS) {
        Unlock(gun);
        InterlockedIncrement(&gun->failedReads);
        return Complete(irp, failure, 0);
    }
    length = gun->readLength < wanted ? gun->readLength : wanted;
    RtlCopyMemory(irp->AssociatedIrp.SystemBuffer, gun->report, length);
    StampRead(&gun->times);
    Unlock(gun);
    InterlockedIncrement(&gun->reads);
    return Complete(irp, STATUS_SUCCESS, length);
}

static NTSTATUS SetState(GunsimDevice *gun, const void *input, ULONG inputLength)
{
    if (inputLength != GUNSIM_REPORT_SIZE)
        return STATUS_INVALID_PARAMETER;
    Lock(gun);
    if (RtlCompareMemory(gun->report, input, GUNSIM_REPORT_SIZE) != GUNSIM_REPORT_SIZE) {
        RtlCopyMemory(gun->report, input, GUNSIM_REPORT_SIZE);
        StampChange(&gun->times);
    }
    Unlock(gun);
    return STATUS_SUCCESS;
}

static NTSTATUS SetReadLength(GunsimDevice *gun, const void *input, ULONG inputLength)
{
    ULONG length;

    if (inputLength != sizeof(ULONG))
        return STATUS_INVALID_PARAMETER;
    RtlCopyMemory(&length, input, sizeof(ULONG));
    if (length > GUNSIM_REPORT_SIZE)
        return STATUS_INVALID_PARAMETER;
    Lock(gun);
    gun->readLength = length;
    Unlock(gun);
    return STATUS_SUCCESS;
}

static NTSTATUS SetReadError(GunsimDevice *gun, const void *input, ULONG inputLength)
{
    ULONG status;

    if (inputLength != sizeof(ULONG))
        return STATUS_INVALID_PARAMETER;
    RtlCopyMemory(&status, input, sizeof(ULONG));
    /* Only failures: a success or warning would complete the read as answered. */
    if (status != 0 && !NT_ERROR((NTSTATUS)status))
        return STATUS_INVALID_PARAMETER;
    Lock(gun);
    gun->readError = (NTSTATUS)status;
    Unlock(gun);
    return STATUS_SUCCESS;
}

/* Under the lock: the interface link made anew, to the gun or to the open target. */
static NTSTATUS Relink(GunsimDevice *gun, BOOLEAN retarget)
{
    UNICODE_STRING link = InterfaceLink();
    UNICODE_STRING target = DeviceName();
    NTSTATUS status;

    if (retarget)
        RtlInitUnicodeString(&target, gun->openTarget);
    if (gun->interfaceLinked && NT_SUCCESS(IoDeleteSymbolicLink(&link)))
        gun->interfaceLinked = FALSE;
    status = IoCreateSymbolicLink(&link, &target);
    gun->interfaceLinked = NT_SUCCESS(status);
    gun->retargeted = gun->interfaceLinked && retarget;
    return status;
}

static NTSTATUS SetOpenTarget(GunsimDevice *gun, const void *input, ULONG inputLength)
{
    ULONG chars = inputLength / sizeof(WCHAR);
    NTSTATUS status;

    if (inputLength % sizeof(WCHAR) || chars >= GUNSIM_OPEN_TARGET_CHARS)
        return STATUS_INVALID_PARAMETER;
    Lock(gun);
    if (!gun->pluggedIn) {
        Unlock(gun);
        return STATUS_DEVICE_NOT_CONNECTED;
    }
    RtlCopyMemory(gun->openTarget, input, inputLength);
    gun->openTarget[chars] = 0;
    status = Relink(gun, chars != 0);
    Unlock(gun);
    return status;
}

static NTSTATUS Pull(GunsimDevice *gun)
{
    UNICODE_STRING link = InterfaceLink();

    Lock(gun);
    if (gun->pluggedIn) {
        gun->pluggedIn = FALSE;
        if (++gun->generation == 0)
            gun->generation = 1;
    }
    if (gun->interfaceLinked && NT_SUCCESS(IoDeleteSymbolicLink(&link)))
        gun->interfaceLinked = FALSE;
    gun->retargeted = FALSE;
    Unlock(gun);
    return STATUS_SUCCESS;
}

static NTSTATUS Plug(GunsimDevice *gun)
{
    UNICODE_STRING link = InterfaceLink();
    UNICODE_STRING target = DeviceName();
    NTSTATUS status = STATUS_SUCCESS;

    Lock(gun);
    if (!gun->interfaceLinked) {
        status = IoCreateSymbolicLink(&link, &target);
        gun->interfaceLinked = NT_SUCCESS(status);
    }
    if (NT_SUCCESS(status))
        gun->pluggedIn = TRUE;
    Unlock(gun);
    return status;
}

static NTSTATUS QueryStatus(GunsimDevice *gun, void *buffer, ULONG inputLength, ULONG outputLength,
                            ULONG_PTR *written)
{
    GunsimQuery query = {0};
    GunsimStatus status;

    if (outputLength < sizeof(status))
        return STATUS_BUFFER_TOO_SMALL;
    if (inputLength >= sizeof(query))
        RtlCopyMemory(&query, buffer, sizeof(query));

    RtlZeroMemory(&status, sizeof(status));
    Lock(gun);
    RtlCopyMemory(status.report, gun->report, GUNSIM_REPORT_SIZE);
    status.pluggedIn = gun->pluggedIn;
    status.readLength = gun->readLength;
    status.readError = (ULONG)gun->readError;
    status.retargeted = gun->retargeted;
    Unlock(gun);
    if (query.flags & GUNSIM_QUERY_RESET_COUNTS) {
        status.reads = (ULONG)InterlockedExchange(&gun->reads, 0);
        status.failedReads = (ULONG)InterlockedExchange(&gun->failedReads, 0);
    } else {
        status.reads = (ULONG)InterlockedCompareExchange(&gun->reads, 0, 0);
        status.failedReads = (ULONG)InterlockedCompareExchange(&gun->failedReads, 0, 0);
    }
    RtlCopyMemory(buffer, &status, sizeof(status));
    *written = sizeof(status);
    return STATUS_SUCCESS;
}

static NTSTATUS QueryTimes(GunsimDevice *gun, void *buffer, ULONG inputLength, ULONG outputLength,
                           ULONG_PTR *written)
{
    GunsimQuery query = {0};

    if (outputLength < sizeof(GunsimTimes))
        return STATUS_BUFFER_TOO_SMALL;
    if (inputLength >= sizeof(query))
        RtlCopyMemory(&query, buffer, sizeof(query));

    Lock(gun);
    RtlCopyMemory(buffer, &gun->times, sizeof(GunsimTimes));
    if (query.flags & GUNSIM_QUERY_RESET_TIMES) {
        gun->times.readCount = 0;
        gun->times.changeCount = 0;
    }
    Unlock(gun);
    *written = sizeof(GunsimTimes);
    return STATUS_SUCCESS;
}

static NTSTATUS NTAPI DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp)
{
    GunsimDevice *gun = (GunsimDevice *)device->DeviceExtension;
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    void *buffer = irp->AssociatedIrp.SystemBuffer;
    ULONG inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    ULONG_PTR written = 0;
    NTSTATUS status;

    switch (stack->Parameters.DeviceIoControl.IoControlCode) {
    case IOCTL_GUNSIM_SET_STATE:
        status = SetState(gun, buffer, inputLength);
        break;
    case IOCTL_GUNSIM_PULL:
        status = Pull(gun);
        break;
    case IOCTL_GUNSIM_PLUG:
        status = Plug(gun);
        break;
    case IOCTL_GUNSIM_STATUS:
        status = QueryStatus(gun, buffer, inputLength, outputLength, &written);
        break;
    case IOCTL_GUNSIM_SET_READ_LENGTH:
        status = SetReadLength(gun, buffer, inputLength);
        break;
    case IOCTL_GUNSIM_TIMES:
        status = QueryTimes(gun, buffer, inputLength, outputLength, &written);
        break;
    case IOCTL_GUNSIM_SET_READ_ERROR:
        status = SetReadError(gun, buffer, inputLength);
        break;
    case IOCTL_GUNSIM_SET_OPEN_TARGET:
        status = SetOpenTarget(gun, buffer, inputLength);
        break;
    default:
        status = STATUS_INVALID_DEVICE_REQUEST;
        break;
    }
    return Complete(irp, status, written);
}

static void NTAPI DriverUnload(PDRIVER_OBJECT driver)
{
    UNICODE_STRING control = ControlLink();
    PDEVICE_OBJECT device = driver->DeviceObject;

    if (!device)
        return;
    Pull((GunsimDevice *)device->DeviceExtension);
    IoDeleteSymbolicLink(&control);
    IoDeleteDevice(device);
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath)
{
    UNICODE_STRING name = DeviceName();
    UNICODE_STRING control = ControlLink();
    PDEVICE_OBJECT device;
    GunsimDevice *gun;
    LARGE_INTEGER frequency;
    NTSTATUS status;

    (void)registryPath;
    status = IoCreateDevice(driver, sizeof(GunsimDevice), &name, FILE_DEVICE_UNKNOWN, 0, FALSE, &device);
    if (!NT_SUCCESS(status))
        return status;

    gun = (GunsimDevice *)device->DeviceExtension;
    RtlZeroMemory(gun, sizeof(*gun));
    KeInitializeMutex(&gun->lock, 0);
    /* Idle, aimed at the middle of the gun's window (raw 416, 128). */
    gun->report[0] = 0xFF;
    gun->report[1] = 0xFF;
    gun->report[2] = 0xA0;
    gun->report[3] = 0x01;
    gun->report[4] = 0x80;
    gun->report[5] = 0x00;
    gun->readLength = GUNSIM_REPORT_SIZE;
    gun->generation = 1;
    KeQueryPerformanceCounter(&frequency);
    gun->times.frequency = frequency.QuadPart;

    status = IoCreateSymbolicLink(&control, &name);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(device);
        return status;
    }
    status = Plug(gun);
    if (!NT_SUCCESS(status)) {
        IoDeleteSymbolicLink(&control);
        IoDeleteDevice(device);
        return status;
    }

    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreate;
    driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchSucceed;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchSucceed;
    driver->MajorFunction[IRP_MJ_READ] = DispatchRead;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
    driver->DriverUnload = DriverUnload;

    device->Flags |= DO_BUFFERED_IO;
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}
