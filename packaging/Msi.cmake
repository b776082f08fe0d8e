# The Windows installer, built from Tessarline.wxs by Debian's wixl: `make windows-package`
# leaves Tessarline-VERSION.msi beside Tessarline.exe. Without wixl the Windows build still
# builds the program; its installers are left out.
find_program(TESSARLINE_WIXL wixl)

# Every version's installer carries this code, by which it replaces any other version.
set(TESSARLINE_UPGRADE_CODE 7CAD7FB4-A227-4068-A196-497085E2420E)

# tessarline_msi(TARGET VERSION OUTPUT): an installer of Tessarline.exe that says it is VERSION.
function(tessarline_msi target version output)
  if(NOT TESSARLINE_WIXL)
    return()
  endif()
  # One product code per version: the same version installed again is the same product, which
  # Windows Installer repairs instead of installing it a second time.
  string(UUID product_code NAMESPACE ${TESSARLINE_UPGRADE_CODE} NAME "Tessarline ${version}"
    TYPE SHA1 UPPER)
  set(wxs ${PROJECT_SOURCE_DIR}/packaging/Tessarline.wxs)
  set(icon app/win32/art/tessarline.ico)
  # wixl finds the files it packs only by paths relative to where it runs: the program is
  # built there.
  add_custom_command(OUTPUT ${output}
    COMMAND ${TESSARLINE_WIXL} --arch x64 -D Version=${version} -D ProductCode=${product_code}
      -D UpgradeCode=${TESSARLINE_UPGRADE_CODE} -D Program=$<TARGET_FILE_NAME:Tessarline>
      -D Icon=${icon}
      -o ${output} ${wxs}
    DEPENDS ${wxs} Tessarline ${PROJECT_BINARY_DIR}/${icon}
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    COMMENT "Packing the installer ${output}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()

tessarline_msi(tessarline_msi ${PROJECT_VERSION}
  ${PROJECT_BINARY_DIR}/Tessarline-${PROJECT_VERSION}.msi)
