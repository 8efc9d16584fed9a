#include "platform/core/probes/disks.h"

#include <dirent.h>
#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/core/probes/sysfs.h"

namespace glider::core::probes {

namespace {

constexpr uint8_t kAtaIdentifyDevice = 0xEC;
constexpr uint8_t kPioDataIn = 4;
// T_DIR from the device, BYT_BLOK set, T_LENGTH in the sector count field.
constexpr uint8_t kTransferFlags = 0x0E;

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool SendIdentify(int fd, const uint8_t* cdb, uint8_t cdbLength, uint8_t identify[512]) {
  uint8_t sense[32] = {};
  sg_io_hdr_t io = {};
  io.interface_id = 'S';
  io.dxfer_direction = SG_DXFER_FROM_DEV;
  io.cmd_len = cdbLength;
  io.cmdp = const_cast<uint8_t*>(cdb);
  io.dxferp = identify;
  io.dxfer_len = 512;
  io.sbp = sense;
  io.mx_sb_len = sizeof sense;
  io.timeout = 10000;
  if (ioctl(fd, SG_IO, &io) != 0) return false;
  return (io.info & SG_INFO_OK_MASK) == SG_INFO_OK && io.status == 0;
}

}  // namespace

std::vector<std::string> PhysicalDrives(const std::string& blockRoot) {
  std::vector<std::string> drives;
  DIR* dir = opendir(blockRoot.c_str());
  if (!dir) return drives;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name[0] == '.' || StartsWith(name, "sr") || StartsWith(name, "fd")) continue;
    if (PathExists(blockRoot + "/" + name + "/device")) drives.push_back(name);
  }
  closedir(dir);
  std::sort(drives.begin(), drives.end(), [](const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  });
  return drives;
}

bool AtaIdentify(const std::string& name, uint8_t identify[512]) {
  std::memset(identify, 0, 512);
  if (!StartsWith(name, "sd") || name.find('/') != std::string::npos) return false;
  std::string path = "/dev/" + name;
  int fd = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const uint8_t cdb16[16] = {
      0x85, kPioDataIn << 1, kTransferFlags, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, kAtaIdentifyDevice, 0};
  const uint8_t cdb12[12] = {0xA1, kPioDataIn << 1, kTransferFlags, 0, 1, 0, 0, 0, 0, kAtaIdentifyDevice, 0,
                             0};
  bool ok =
      SendIdentify(fd, cdb16, sizeof cdb16, identify) || SendIdentify(fd, cdb12, sizeof cdb12, identify);
  close(fd);
  return ok;
}

std::string DiskOnPort(int port, int drive, const std::string& scsiRoot) {
  std::string blockDir = scsiRoot + "/" + std::to_string(port) + ":0:" + std::to_string(drive) + ":0/block";
  DIR* dir = opendir(blockDir.c_str());
  if (!dir) return std::string();
  std::string name;
  while (dirent* entry = readdir(dir)) {
    if (entry->d_name[0] != '.') {
      name = entry->d_name;
      break;
    }
  }
  closedir(dir);
  return name;
}

bool KernelDiskSerial(const std::string& blockDir, std::string* serial) {
  for (const char* file : {"/serial", "/device/serial"}) {
    std::string text;
    if (ReadTrimmedLine(blockDir + file, &text) && !text.empty()) {
      *serial = text;
      return true;
    }
  }
  // Page 0x80: a 4-byte header whose last two bytes give the length, then the serial's bytes.
  std::string page;
  if (!ReadSmallFile(blockDir + "/device/vpd_pg80", &page) || page.size() < 4) return false;
  size_t length = (static_cast<uint8_t>(page[2]) << 8) | static_cast<uint8_t>(page[3]);
  std::string text = page.substr(4, std::min(length, page.size() - 4));
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return false;
  size_t last = text.find_last_not_of(" \t\r\n");
  *serial = text.substr(first, last - first + 1);
  return true;
}

}  // namespace glider::core::probes
