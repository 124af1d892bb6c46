set(TAMBRE_AREA_USES sys res frame)
list(APPEND TAMBRE_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/port_sequence.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reserved_ports.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/hardware_seams.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32_device_channel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/direct_ports.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/access_mode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_io.cpp
  ${CMAKE_CURRENT_LIST_DIR}/port_functions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_detection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mapping_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/physical_memory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pci_functions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pci_memory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_port.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nt_service.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_install.cpp)
