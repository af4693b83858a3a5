; absent
