#pragma once

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

// Today's date, replaceable so that reports can be reproduced.
class Clock {
public:
    virtual ~Clock() = default;
    virtual CalendarDate today() const = 0;
};

// The local date of this machine.
class SystemClock : public Clock {
public:
    CalendarDate today() const override;
};

// A clock that always answers the same date.
class FixedClock : public Clock {
public:
    explicit FixedClock(CalendarDate date) : date_(date) {}
    CalendarDate today() const override { return date_; }

private:
    CalendarDate date_;
};
