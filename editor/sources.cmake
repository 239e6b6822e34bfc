# The plug-in's editor (Win32): only built into the DLLs and the Wine tests.
set(QV_EDITOR_SOURCES
  editor/MultibandEditor.cpp
  editor/CrossoverStrip.cpp
  editor/LinkStrip.cpp
  editor/ValueBoxStrip.cpp
  editor/MultiControlColumn.cpp
  editor/OutputStageView.cpp
)
