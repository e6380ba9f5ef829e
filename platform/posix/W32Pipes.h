// Anonymous pipes and in-process named pipes ("\\.\pipe\NAME"). Both ends are
// file handles: ReadFile and WriteFile work on them as on any descriptor.
#pragma once

#include "platform/posix/W32Types.h"

#define PIPE_ACCESS_INBOUND 0x00000001
#define PIPE_ACCESS_OUTBOUND 0x00000002
#define PIPE_ACCESS_DUPLEX 0x00000003

#define PIPE_TYPE_BYTE 0x00000000
#define PIPE_TYPE_MESSAGE 0x00000004
#define PIPE_READMODE_BYTE 0x00000000
#define PIPE_READMODE_MESSAGE 0x00000002
#define PIPE_WAIT 0x00000000
#define PIPE_NOWAIT 0x00000001
#define PIPE_ACCEPT_REMOTE_CLIENTS 0x00000000
#define PIPE_REJECT_REMOTE_CLIENTS 0x00000008
#define PIPE_UNLIMITED_INSTANCES 255
#define NMPWAIT_USE_DEFAULT_WAIT 0x00000000
#define NMPWAIT_WAIT_FOREVER 0xFFFFFFFF

BOOL WINAPI CreatePipe(PHANDLE readPipe, PHANDLE writePipe, LPSECURITY_ATTRIBUTES attributes, DWORD size);

HANDLE WINAPI CreateNamedPipeA(LPCSTR name, DWORD openMode, DWORD pipeMode, DWORD maxInstances, DWORD outBufferSize,
                               DWORD inBufferSize, DWORD defaultTimeOut, LPSECURITY_ATTRIBUTES attributes);
HANDLE WINAPI CreateNamedPipeW(LPCWSTR name, DWORD openMode, DWORD pipeMode, DWORD maxInstances, DWORD outBufferSize,
                               DWORD inBufferSize, DWORD defaultTimeOut, LPSECURITY_ATTRIBUTES attributes);
BOOL WINAPI ConnectNamedPipe(HANDLE pipe, LPOVERLAPPED overlapped);
BOOL WINAPI DisconnectNamedPipe(HANDLE pipe);
BOOL WINAPI PeekNamedPipe(HANDLE pipe, LPVOID buffer, DWORD bufferSize, LPDWORD bytesRead, LPDWORD totalBytesAvail,
                          LPDWORD bytesLeftThisMessage);
