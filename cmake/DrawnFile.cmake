# windlock_drawn_file(OUTPUT SCRIPT COMMENT): OUTPUT drawn at build time by one of the drawing
# scripts of scripts/ (the loading clip, the logo), drawn again when the script changes.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(windlock_drawn_file output script comment)
  add_custom_command(
    OUTPUT ${output}
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/${script} ${output}
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/${script} ${PROJECT_SOURCE_DIR}/scripts/drawn_file.py
    COMMENT "${comment}"
    VERBATIM)
endfunction()
