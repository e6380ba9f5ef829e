// Volumes: labels, serial numbers, free space, volume names, network names.
#pragma once

#include <cstdint>

#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

// Label and serial number of the drive's volume. A network drive reports
// serial 0, also when the volume cannot be asked. 0 or the Windows error.
DWORD GetVolumeLabelAndSerial(char32_t letter, DWORD& serial, Westring& label);
DWORD GetVolumeLabel(char32_t letter, Westring& label);
DWORD SetVolumeLabel(char32_t letter, const Westring& label);
// Total and free bytes of the volume that holds the path (not the caller's
// quota) and its cluster size. 0 or the error.
DWORD GetDiskSpace(const Westring& path, uint64_t& total, uint64_t& free, uint64_t& clusterSize);
// The UNC name of a network drive ("\\server\share"); empty for any other.
Estring GetDriveUncName(char32_t letter);
// A name that stands for the volume holding the path: the system's volume
// name for a drive path (the drive itself when the system has none), the
// share root (\\server\share) for a UNC path, else empty.
Westring GetVolumeNameOfPath(const Westring& path);
// Whether two paths lie on the same volume; the second is taken relative to
// the first. Moves rename on one volume and copy across volumes.
bool AreOnSameVolume(const Westring& path1, const Westring& path2);
bool AreOnDifferentVolumes(const Westring& path1, const Westring& path2);
