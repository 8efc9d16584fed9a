// Disk identification: ATA IDENTIFY through SG_IO, and the serial numbers the kernel reports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace glider::core::probes {

// The physical drives, numbered from 0: whole disks of blockRoot ("/sys/block") that have hardware behind
// them, in the kernel's naming order ("sdz" before "sdaa"). Optical and floppy drives are left out.
std::vector<std::string> PhysicalDrives(const std::string& blockRoot = "/sys/block");

// ATA IDENTIFY DEVICE (0xEC) sent to /dev/<name> as ATA PASS-THROUGH (16, then 12) through SG_IO. Only SCSI
// disk nodes (sd*) carry ATA commands; opening them usually needs root.
bool AtaIdentify(const std::string& name, uint8_t identify[512]);

// The disk at SCSI address port:0:drive:0, what an IDE port's master (0) and slave (1) become; empty if none.
std::string DiskOnPort(int port, int drive, const std::string& scsiRoot = "/sys/bus/scsi/devices");

// The serial number the kernel reports for the disk folder blockDir ("/sys/block/sda"): the "serial" file
// of the disk or its device, else the unit serial number page (VPD 0x80). Surrounding spaces are dropped.
bool KernelDiskSerial(const std::string& blockDir, std::string* serial);

}  // namespace glider::core::probes
