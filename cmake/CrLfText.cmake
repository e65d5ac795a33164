# Copies a text file with CR LF line ends, for people who open it in Notepad.
# Run at install time: cmake -P with SOURCE and DESTINATION set, or included
# from install(CODE) with those variables set.
file(READ "${SOURCE}" text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${DESTINATION}" "${text}")
