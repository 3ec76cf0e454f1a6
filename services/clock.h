#pragma once
// The local date and time, from the platform's clock (the current time converted to local time).
// The native build's clock is a substitute the tests can set.

struct LocalDate {
    int year;
    int month; // 1 to 12
    int day;   // 1 to 31
};

// False when the clock cannot tell the date.
bool ReadLocalDate(LocalDate& date);

struct LocalTime {
    int year;
    int month; // 1 to 12
    int day;   // 1 to 31
    int hour;  // 0 to 23
    int minute;
    int second;
};

// The local date and time of day; false when the clock cannot tell them.
bool ReadLocalTime(LocalTime& time);
