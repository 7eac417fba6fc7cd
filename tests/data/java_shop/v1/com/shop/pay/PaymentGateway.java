package com.shop.pay;

import com.shop.model.Order;

public class PaymentGateway {
    private String endpoint;

    public boolean pay(Order order, String account) {
        return order.price() > 0 && account != null;
    }

    public void refund(Order order) {
    }
}
