# GUI toolkit (Win32): only built into the DLLs and the Wine tests.
set(QV_GUI_SOURCES
)
