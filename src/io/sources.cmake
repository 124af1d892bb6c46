set(TAMBRE_AREA_USES base sys res frame)
list(APPEND TAMBRE_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/port_sequence.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reserved_ports.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/hardware_seams_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_channel_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/direct_ports_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform_state_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/access_mode_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_io_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/port_functions_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_detection_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mapping_table_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/physical_memory_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pci_functions_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pci_memory_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_port_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nt_service_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_install_win32.cpp)
