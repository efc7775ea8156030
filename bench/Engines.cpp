#include "Engine.h"

namespace lx::bench {

const std::vector<NamedFactory>& EngineFactories() {
  static const std::vector<NamedFactory> factories{
      {"Lx", MakeLxEngine},
      {"gettext", MakeGettextEngine},
#ifdef LX_BENCH_QT
      {"Qt", MakeQtEngine},
#endif
  };
  return factories;
}

}  // namespace lx::bench
