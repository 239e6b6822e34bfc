# Shell sources that contain no Win32 and no editor wiring (built natively and into the DLLs).
set(QV_SHELL_CORE_SOURCES
  shell/AudioEffect.cpp
  shell/AudioEffectX.cpp
  shell/MultibandEffectBase.cpp
  shell/PluginInstance.cpp
)
# Shell sources that only go into the DLLs: the effect with its editor and the exported entry.
set(QV_SHELL_PRODUCT_SOURCES
  shell/MultibandEffect.cpp
  shell/PluginEntry.cpp
)
