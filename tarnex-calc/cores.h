#pragma once
// tarnex-calc cores [--family FAMILY] [--json] [--dir DIR]: the magnetics catalogue's cores,
// smallest first, one line each: name, family, Ae (mm²), le (mm), Ve (mm³), Aw (mm²) and the
// area product Ae·Aw (mm⁴). --dir is accepted like for the windows and not needed.

#include <ostream>
#include <span>
#include <string>

namespace tarnex::calc {

int runCores(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace tarnex::calc
