# The magnetics losses: core and copper loss, window fill and temperature rise of a transformer
# on a catalogue core, and the transformer each design window describes.
set(dir ${CMAKE_CURRENT_LIST_DIR})
tarnex_core_library(tarnex_magnetic_losses ${dir}/core_loss.cpp ${dir}/copper_loss.cpp
                    ${dir}/winding_fit.cpp ${dir}/loss_sheet.cpp ${dir}/window_windings.cpp)
target_link_libraries(tarnex_magnetic_losses PUBLIC tarnex_designs tarnex_tables tarnex_base)
target_link_libraries(tarnex_core INTERFACE tarnex_magnetic_losses)
