#include "Engine.h"

namespace lx::bench {

const std::vector<NamedFactory>& EngineFactories() {
  static const std::vector<NamedFactory> factories{
      {"gettext", MakeGettextEngine},
#ifdef LX_BENCH_QT
      {"Qt", MakeQtEngine},
#endif
  };
  return factories;
}

}  // namespace lx::bench
