# Money and the conversions (no Qt).
add_library(tf_money STATIC
  estimate/money.cpp
  estimate/money_text.cpp
  estimate/money_product.cpp
  estimate/money_format.cpp
  estimate/money_region.cpp
  estimate/money_locale_${TF_PLATFORM}.cpp
)
target_include_directories(tf_money PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tf_money PUBLIC tf_refdata)

# Jurisdiction choice, hours handlers and Update (no Qt).
add_library(tf_estimate STATIC
  estimate/estimate.cpp
)
target_link_libraries(tf_estimate PUBLIC tf_money)
