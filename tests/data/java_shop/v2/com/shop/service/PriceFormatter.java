package com.shop.service;

public final class PriceFormatter {
    private static final String CURRENCY = "EUR";

    public String format(double amount) {
        return amount + " " + CURRENCY;
    }
}
