#include "engine/road/system_services.h"

namespace qorv::road {

const multi::SystemServices& system_services() {
  static const multi::SystemServices services{};
  return services;
}

}  // namespace qorv::road
