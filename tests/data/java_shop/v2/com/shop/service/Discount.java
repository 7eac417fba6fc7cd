package com.shop.service;

import com.shop.model.Priced;

public enum Discount implements Priced {
    NONE(0), SALE(10);

    private final int percent;

    Discount(int percent) {
        this.percent = percent;
    }

    public double price() {
        return -percent;
    }
}
