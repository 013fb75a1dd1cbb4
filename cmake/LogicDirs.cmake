# The folders of src/ that hold the program's logic: plain C++ with no system header. Each is
# one subsystem. Every build and check that needs the list includes this file.
set(OMBRIX_LOGIC_DIRS core switching events app appearance rules dialogs lang ui)
