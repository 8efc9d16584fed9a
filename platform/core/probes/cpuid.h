// The processor identification instruction.
#pragma once

#include <cstdint>

namespace glider::core::probes {

// EAX, EBX, ECX, EDX of CPUID with the given leaf; all zero when the processor has no such leaf.
void ReadCpuid(uint32_t leaf, uint32_t regs[4]);

}  // namespace glider::core::probes
