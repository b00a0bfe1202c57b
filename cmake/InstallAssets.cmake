# Installs the generated data (QUELMOOR_ASSETS_FROM) into QUELMOOR_ASSETS_TO under the prefix:
# every picture, sound and animation file, but the generator's contact sheet.
file(GLOB assets LIST_DIRECTORIES false
     "${QUELMOOR_ASSETS_FROM}/*.png" "${QUELMOOR_ASSETS_FROM}/*.ogg" "${QUELMOOR_ASSETS_FROM}/*.wav"
     "${QUELMOOR_ASSETS_FROM}/*.anim")
list(FILTER assets EXCLUDE REGEX "/preview\\.png$")
if(NOT assets)
    message(FATAL_ERROR "No game data in ${QUELMOOR_ASSETS_FROM}: build first")
endif()
file(INSTALL ${assets} DESTINATION "${CMAKE_INSTALL_PREFIX}/${QUELMOOR_ASSETS_TO}")
