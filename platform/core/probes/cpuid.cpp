#include "platform/core/probes/cpuid.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace glider::core::probes {

void ReadCpuid(uint32_t leaf, uint32_t regs[4]) {
  regs[0] = regs[1] = regs[2] = regs[3] = 0;
#if defined(__x86_64__) || defined(__i386__)
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (__get_cpuid(leaf, &a, &b, &c, &d)) {
    regs[0] = a;
    regs[1] = b;
    regs[2] = c;
    regs[3] = d;
  }
#endif
}

}  // namespace glider::core::probes
